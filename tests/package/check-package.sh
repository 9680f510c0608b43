#!/usr/bin/env bash
# Takes the Debian package apart without installing it and checks what a user would get: its
# control fields and dependencies, every file in its place, valid desktop, AppStream and manual
# page data, no lintian error, and a companion that runs from the unpacked files.
#   check-package.sh DEB VERSION APP_ID ACCESS_FILE
set -euo pipefail
deb=$1
version=$2
id=$3
access=$4
[ -f "$deb" ] || { echo "no package at $deb"; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "$*"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = ponencias ] || fail "package name: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), project $version"
depends=$(field Depends)
# The names the Depends field allows, one a line, without their versions.
depends_on() { sed 's/([^)]*)//g; s/[,|]/\n/g' <<< "$depends" | tr -d ' ' | grep -Fxq "$1"; }
# What no link shows: the X11 platform plugin and the fonts with Arial's and Arial Narrow's
# metrics (the narrow one is a package of its own from Debian 13 on).
for package in qt6-qpa-plugins fonts-liberation fonts-liberation-sans-narrow; do
    depends_on "$package" || fail "Depends lacks $package: $depends"
done
grep -q qt6-translations-l10n <<< "$(field Recommends)" || fail "translations not recommended"
# Without a spreadsheet application the search has nothing to show its result in.
grep -Eq "(^|, )libreoffice-calc \| gnumeric(,|$)" <<< "$(field Recommends)" ||
    fail "no spreadsheet application recommended: $(field Recommends)"

# Every file under /usr, each where it belongs.
listing=$(dpkg-deb -c "$deb")
if grep -v ' \./usr/' <<< "$listing" | grep -v ' \./$'; then
    fail "files outside /usr"
fi
for path in usr/lib/ponencias/ponencias usr/lib/ponencias/ponencias-cli \
    usr/lib/ponencias/ponencias-documentos usr/lib/ponencias/ponencias-importar \
    usr/lib/ponencias/Ponencias.mdb usr/lib/ponencias/Ponencias.xls \
    "usr/lib/ponencias/Glosario de términos.pdf" "usr/lib/ponencias/Tipología de Variables.pdf" \
    "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
    usr/share/icons/hicolor/48x48/apps/ponencias.png \
    usr/share/icons/hicolor/scalable/apps/ponencias.svg \
    usr/share/man/man1/ponencias.1.gz usr/share/man/man1/ponencias-cli.1.gz \
    usr/share/doc/ponencias/copyright usr/share/doc/ponencias/changelog.gz; do
    grep -Fq " ./$path" <<< "$listing" || fail "missing from the package: /$path"
done
for program in ponencias ponencias-cli; do
    grep -Fq " ./usr/bin/$program -> ../lib/ponencias/$program" <<< "$listing" ||
        fail "no link /usr/bin/$program into /usr/lib/ponencias"
done

dpkg-deb -x "$deb" "$root"
# Every library a program links comes from a package it depends on, under this release's names
# (libzip4 on Debian 12, libzip5 on 13): the dependencies are derived from the links.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for program in ponencias ponencias-cli ponencias-documentos ponencias-importar; do
    for library in $(objdump -p "$root/usr/lib/ponencias/$program" | awk '$1 == "NEEDED" {print $2}'); do
        owner=$(dpkg -S "*/$multiarch/$library" 2> /dev/null | awk -F': ' -v l="/$library" \
            'substr($2, length($2) - length(l) + 1) == l {sub(/:.*/, "", $1); print $1; exit}')
        [ -n "$owner" ] || fail "$program links $library, which no installed package holds"
        depends_on "$owner" || fail "$program links $library from $owner, not in Depends: $depends"
    done
done
# The companion starts without the display libraries; its documents program has them.
objdump -p "$root/usr/lib/ponencias/ponencias-cli" | grep -q 'NEEDED *libQt6Gui' &&
    fail "ponencias-cli links Qt's display library"
desktop-file-validate "$root/usr/share/applications/$id.desktop"
grep -q '^Exec=/usr/bin/ponencias$' "$root/usr/share/applications/$id.desktop" ||
    fail "the menu entry does not start /usr/bin/ponencias"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" > "$root/appstream.txt" ||
    { cat "$root/appstream.txt"; fail "AppStream data not valid"; }
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$root/usr/share/doc/ponencias/copyright" || fail "copyright is not machine-readable"
for page in ponencias ponencias-cli; do
    # What `man -k` will find, and a page groff renders without a complaint.
    lexgrog "$root/usr/share/man/man1/$page.1.gz" | grep -q "\"$page - " ||
        fail "manual page $page(1) has no usable NOMBRE section"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 \
        "$root/usr/share/man/man1/$page.1.gz" 2>&1 > /dev/null)
    [ -z "$warnings" ] || fail "groff warns on $page(1): $warnings"
done

# The companion, started from elsewhere through the unpacked link, finds the data file beside
# its resolved self.
cli="$root/usr/bin/ponencias-cli"
[ "$(cd / && "$cli" --version)" = "ponencias-cli $version" ] || fail "wrong --version"
count=$(cd / && env -u QT_QPA_PLATFORM "$cli" sql "SELECT COUNT(*) AS n FROM ponencias" |
    tr -d '\r' | tail -n 1)
[ "$count" = 3420 ] || fail "the packaged companion read $count proposals"
rows=$(cd / && env -u QT_QPA_PLATFORM "$cli" sql --base "$access" \
    "SELECT COUNT(*) AS n FROM DateTest" | tr -d '\r' | tail -n 1)
[ "$rows" = 6 ] || fail "the packaged companion read $rows rows of $access (its Access importer)"
[ "$(cd / && "$cli" buscar --palabra voto --salida "$root/voto.xlsx")" -gt 0 ] ||
    fail "the packaged companion exported no workbook"

lintian --fail-on error "$deb" ||
    fail "lintian reports errors"
echo "checked $deb"
