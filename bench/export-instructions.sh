#!/usr/bin/env bash
# The sample's workbook counted in instructions, which, unlike seconds, do not move with the
# machine's load: the companion (`ponencias-cli buscar --salida`) and the floor (bare
# libxlsxwriter in C, bench/export_libxlsxwriter.c) side by side under `valgrind --tool=callgrind`,
# with the companion's start-up alone and the parts of its export that the floor does not have.
# Needs valgrind.
#
#   bench/export-instructions.sh [BUILD_DIR]     default: build
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
cli="$build/bin/ponencias-cli"
floor="$build/bench/export_libxlsxwriter"
sample="$build/data/sample/Ponencias.mdb"
for file in "$cli" "$floor" "$sample"; do
    [ -e "$file" ] || { echo "export-instructions.sh: no $file" >&2; exit 1; }
done
base=$(sed -n 's/^PONENCIAS_DOCUMENT_BASE_ADDRESS:STRING=//p' "$build/CMakeCache.txt")
query=$("$cli" buscar --consulta)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

count() {  # count NAME COMMAND...: the program's instructions; its profile kept as NAME.out
    valgrind --tool=callgrind --callgrind-out-file="$scratch/$1.out" "${@:2}" \
        > /dev/null 2> "$scratch/$1.err" ||
        { cat "$scratch/$1.err" >&2; exit 1; }
    sed -n 's/.*Collected : //p' "$scratch/$1.err"
}
# The instructions spent in functions whose name matches PATTERN, callees included.
within() {  # within NAME PATTERN
    callgrind_annotate --inclusive=yes --threshold=100 "$scratch/$1.out" 2> /dev/null |
        awk -v pattern="$2" '$0 ~ pattern { gsub(",", "", $1); print $1; exit }'
}

companion=$(count companion "$cli" buscar --base "$sample" --salida "$scratch/companion.xlsx")
bare=$(count floor "$floor" "$sample" "$query" "$scratch/floor.xlsx" "$base")
startup=$(count startup "$cli" buscar --consulta)
awk -v c="$companion" -v f="$bare" -v s="$startup" \
    -v copy="$(within companion 'LoadStoreSnapshot')" \
    -v collation="$(within companion 'CollationCallback')" \
    -v text="$(within companion 'Recordset::text')" \
    -v deflate="$(within floor '[?]:deflate ')" 'BEGIN {
    m = 1e6
    printf "companion %.0f M instructions, floor %.0f M: %.3fx\n", c / m, f / m, c / f
    printf "  the companion'"'"'s start-up alone (buscar --consulta): %.1f M\n", s / m
    printf "  its store'"'"'s checked copy of the file: %.1f M\n", copy / m
    printf "  its ordering under the accent-aware collation: %.1f M\n", collation / m
    printf "  its values read as UTF-8 text: %.1f M\n", text / m
    printf "  the zip compression, in the floor: %.0f M\n", deflate / m
}'
