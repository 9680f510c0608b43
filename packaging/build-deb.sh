#!/usr/bin/env bash
# Builds the Debian package "ponencias" with debhelper (debian/ at the source's root) from a
# clean copy of the source tree, so no build folder of the working tree, with its derived
# files, finds its way into the package, and dpkg-buildpackage writes only under OUT_DIR.
# The version is the project's own (CMake's project(VERSION)); the changelog entry that gives it
# to the package is written here. The .deb's path is the last line printed.
# The package delivers the configured build's data file, documents and document address: they
# travel in the copy's debian/delivered/, where debian/rules hands them to CMake.
#
#   build-deb.sh SOURCE_DIR OUT_DIR VERSION [--data-file=FILE] [--documents-dir=DIR]
#                [--document-address=URL]          (no data file: the generated sample)
set -euo pipefail
[ $# -ge 3 ] || { sed -n '2,11p' "$0"; exit 1; }
source=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
version=$3
shift 3
data_file="" documents_dir="" document_address=""
for option in "$@"; do
    case "$option" in
        --data-file=*) data_file=${option#*=} ;;
        --documents-dir=*) documents_dir=${option#*=} ;;
        --document-address=*) document_address=${option#*=} ;;
        *) echo "build-deb.sh: opción desconocida: $option" >&2; exit 1 ;;
    esac
done
stage="$out/ponencias-$version"

rm -rf "$stage" "$out"/ponencias_* "$out"/ponencias-dbgsym_*
mkdir -p "$stage"

# The project's own files: with git, those it tracks or would track; without, everything but
# the build folders and the output folder.
if git -C "$source" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    (cd "$source" && git ls-files -z --cached --others --exclude-standard) |
        (cd "$source" && while IFS= read -r -d '' file; do
            [ -e "$file" ] && printf '%s\0' "$file"
        done) |
        tar -C "$source" --null -T - -cf - | tar -C "$stage" -xf -
else
    tar -C "$source" --exclude=./.git --exclude='./build*' --exclude="./${out#"$source"/}" \
        -cf - . | tar -C "$stage" -xf -
fi

delivered="$stage/debian/delivered"
mkdir -p "$delivered"
if [ -n "$data_file" ]; then
    cp -- "$data_file" "$delivered/Ponencias.mdb"
fi
if [ -n "$documents_dir" ]; then
    mkdir -p "$delivered/documentos"
    for name in "Ponencias.xls" "Glosario de términos.pdf" "Tipología de Variables.pdf"; do
        if [ -f "$documents_dir/$name" ]; then cp -- "$documents_dir/$name" "$delivered/documentos/"; fi
    done
fi
if [ -n "$document_address" ]; then
    printf '%s\n' "$document_address" > "$delivered/document-address"
fi

# The changelog's date is the last commit's, so the same source gives the same package.
if stamp=$(git -C "$source" log -1 --format=%ct 2> /dev/null); then
    date=$(LC_ALL=C date -u -R -d "@$stamp")
else
    date=$(LC_ALL=C date -u -R)
fi
maintainer=$(sed -n 's/^Maintainer: //p' "$stage/debian/control")
cat > "$stage/debian/changelog" << CHANGELOG
ponencias ($version) unstable; urgency=medium

  * Ponencias $version.

 -- $maintainer  $date
CHANGELOG

# debhelper runs the build with a private HOME; the compiler cache stays the user's own, and
# paths under the copy are hashed relative to it, so a rebuild hits the cache wherever it is.
if command -v ccache > /dev/null; then
    CCACHE_DIR=$(ccache -k cache_dir)
    CCACHE_BASEDIR=$stage
    export CCACHE_DIR CCACHE_BASEDIR
fi

log="$out/build.log"
jobs=$(nproc 2> /dev/null || echo 2)
if ! (cd "$stage" && dpkg-buildpackage -b -us -uc -j"$jobs") > "$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "No se pudo construir el paquete; el registro completo está en $log" >&2
    exit 1
fi
deb="$out/ponencias_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
[ -f "$deb" ] || { echo "dpkg-buildpackage no dejó $deb" >&2; exit 1; }
echo "$deb"
