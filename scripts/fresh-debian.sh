#!/usr/bin/env bash
# Runs one command of scripts/dev.sh on a fresh, minimal Debian of another release, as a new user
# would: a system made with debootstrap from the Debian archive this machine's apt already uses,
# a copy of this work tree in it, the command run there as root. Everything is made afresh each
# time and removed afterwards. Needs root (debootstrap and chroot); installs debootstrap if missing.
#
#   scripts/fresh-debian.sh [RELEASE [COMMAND]]    default: trixie test
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
release=${1:-trixie}
command=${2:-test}
[ "$(id -u)" -eq 0 ] || { echo "fresh-debian.sh: hace falta ser root (debootstrap, chroot)" >&2; exit 1; }

if ! command -v debootstrap > /dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap > /dev/null
fi

# The archive this machine installs its own release from, as apt knows it.
own=$(. /etc/os-release && echo "$VERSION_CODENAME")
archive=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' 'Identifier: Packages' |
    awk -v own="$own" '$1 == own {print $2; exit}')
[ -n "$archive" ] || { echo "fresh-debian.sh: apt no usa ningún archivo de Debian para $own" >&2; exit 1; }

root=$(mktemp -d /var/tmp/ponencias-"$release".XXXXXX)
chmod 755 "$root"  # apt downloads as its own user, who must reach the lists
cleanup() {
    umount -R "$root/dev" "$root/proc" "$root/sys" 2> /dev/null || true
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT
trap 'exit 130' INT TERM  # the cleanup runs when the check is stopped too

started=$(date +%s)
echo "== debootstrap --variant=minbase $release ($archive)"
debootstrap --variant=minbase "$release" "$root" "$archive" > "$root.debootstrap.log" 2>&1 ||
    { cat "$root.debootstrap.log" >&2; rm -f "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# The work tree as it stands, what git tracks and what it would track, without build folders.
mkdir "$root/root/ponencias"
git -C "$here" ls-files -z --cached --others --exclude-standard |
    tar -C "$here" --null --ignore-failed-read -T - -cf - 2> /dev/null |
    tar -C "$root/root/ponencias" -xf -

echo "== scripts/dev.sh $command on Debian $(cat "$root/etc/debian_version")"
status=0
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    CI="${CI:-}" bash -c "cd /root/ponencias && bash scripts/dev.sh $command" || status=$?
echo "== Debian $(cat "$root/etc/debian_version"): scripts/dev.sh $command ended with $status" \
    "after $(($(date +%s) - started)) s"
exit "$status"
