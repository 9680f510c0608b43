#!/usr/bin/env bash
# Installs the build into a throwaway prefix and checks what a desktop user gets: the
# application folder as a unit, links in bin/ that find their folder, a valid menu entry, an icon,
# valid AppStream data under the same id, and the manual pages.
#   check-install.sh BUILD_DIR APP_ID ACCESS_FILE
set -euo pipefail
build=$1
id=$2
access=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
folder="$prefix/lib/ponencias"
for file in ponencias ponencias-cli ponencias-documentos ponencias-importar Ponencias.mdb \
    Ponencias.xls "Glosario de términos.pdf" "Tipología de Variables.pdf"; do
    [ -e "$folder/$file" ] || { echo "missing from the application folder: $file"; exit 1; }
done
for program in ponencias ponencias-cli; do
    [ -L "$prefix/bin/$program" ] || { echo "no link for $program in bin/"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -q "^Exec=$prefix/bin/ponencias" "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" > /dev/null ||
    { appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml"
for page in ponencias ponencias-cli; do
    grep -q '^\.SH NOMBRE' "$prefix/share/man/man1/$page.1" ||
        { echo "no manual page for $page"; exit 1; }
done
[ -f "$prefix/share/icons/hicolor/48x48/apps/ponencias.png" ]
[ -f "$prefix/share/icons/hicolor/scalable/apps/ponencias.svg" ]

# Started through its link from elsewhere, the companion finds the data file beside itself.
count=$(cd / && QT_QPA_PLATFORM=offscreen "$prefix/bin/ponencias-cli" sql \
    "SELECT COUNT(*) AS n FROM ponencias" 2>/dev/null | tr -d '\r' | tail -n 1)
[ "$count" = 3420 ] || { echo "the installed companion read $count proposals"; exit 1; }
# An Access file is read by the importer beside the programs.
rows=$(cd / && QT_QPA_PLATFORM=offscreen "$prefix/bin/ponencias-cli" sql --base "$access" \
    "SELECT COUNT(*) AS n FROM DateTest" 2>/dev/null | tr -d '\r' | tail -n 1)
[ "$rows" = 6 ] || { echo "the installed companion read $rows rows of $access"; exit 1; }
# Its documents are written by the program beside it, found through the link too.
mkdir "$prefix/documentos"
(cd / && "$prefix/bin/ponencias-cli" documentos --carpeta "$prefix/documentos") ||
    { echo "the installed companion wrote no documents"; exit 1; }
[ -s "$prefix/documentos/Tipología de Variables.pdf" ] ||
    { echo "the installed companion's documents lack the typology"; exit 1; }
echo "installed and checked under $prefix"
