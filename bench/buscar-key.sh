#!/usr/bin/env bash
# The query window's "Buscar" over the whole sample, as a user meets it: the time from the key
# sent to the focused "Buscar" (`xdotool key`) to the desktop's opener started with the result
# (a stand-in xdg-open that only records when it starts). The program runs on a virtual display,
# in a desktop of its own whose spreadsheet application takes templates, from the splash window
# through the main window to the query window by their access keys, as a user goes; then Enter
# on the focused "Buscar" searches, N times. Between presses the floor, bare libxlsxwriter in C
# (export_libxlsxwriter), writes the same workbook from the same file and query as a whole
# process, so the two figures share the machine's state of the moment.
# Needs Xvfb and xdotool (Debian: xvfb, xdotool), and the benchmarks built.
#
#   bench/buscar-key.sh [BUILD_DIR [N]]     default: build 9
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
presses=${2:-9}
executable="$build/bin/ponencias"
floor="$build/bench/export_libxlsxwriter"
for built in "$executable" "$floor"; do
    [ -x "$built" ] || { echo "buscar-key.sh: no program at $built" >&2; exit 1; }
done
search=$("$build/bin/ponencias-cli" buscar --consulta)
address=$(sed -n 's/^PONENCIAS_DOCUMENT_BASE_ADDRESS:STRING=//p' "$build/CMakeCache.txt")

. "$here/bench/virtual-display.sh"
desk=$scratch

mkdir -p "$desk/bin" "$desk/home" "$desk/tmp" "$desk/share/applications"
# The stand-in opener: bash's own clock, no other program started before the time is taken. It
# hands the time over a pipe the benchmark waits on, so the waiting takes no processor time from
# the program measured.
stamps="$desk/opener-started"
mkfifo "$stamps"
exec 3<> "$stamps"
printf '#!/bin/bash\necho "$EPOCHREALTIME" >> %q\n' "$stamps" > "$desk/bin/xdg-open"
chmod +x "$desk/bin/xdg-open"
printf '[Desktop Entry]\nType=Application\nName=Calc\nExec=calc %%U\nMimeType=%s;\n' \
    application/vnd.openxmlformats-officedocument.spreadsheetml.template \
    > "$desk/share/applications/calc.desktop"
export HOME="$desk/home" TMPDIR="$desk/tmp" PATH="$desk/bin:$PATH" \
    XDG_DATA_HOME="$desk/share" XDG_DATA_DIRS="$desk/share" XDG_CONFIG_HOME="$desk/home/.config"

"$executable" 2> "$desk/stderr" &
program=$!
shown() {  # shown XDOTOOL-SEARCH-ARGS...: the window once it is shown and settled
    xdotool search --sync --onlyvisible "$@" > /dev/null
    sleep 0.5
    xdotool search --onlyvisible "$@" | head -n 1
}
press_in() {  # press_in WINDOW KEY
    xdotool windowfocus --sync "$1" key "$2"
}
press_in "$(shown --classname ponencias)" alt+e                 # "Entrar"
press_in "$(shown --name '^Consulta de ponencias$')" alt+c      # "Consulta de ponencias"
query=$(shown --name '^Consulta de Ponencias$')
xdotool windowfocus --sync "$query"
sleep 0.5

median() {  # median MS...: the middle figure, then the range
    local sorted
    sorted=$(printf '%s\n' "$@" | sort -n)
    echo "$(sed -n "$((($# + 1) / 2))p" <<< "$sorted") ms" \
        "($(head -n 1 <<< "$sorted")–$(tail -n 1 <<< "$sorted") ms; each: $*)"
}
milliseconds() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.0f", (a - b) * 1000}'; }

times=()
floor_times=()
for _ in $(seq "$presses"); do
    sent=$EPOCHREALTIME
    xdotool key Return
    started=
    read -r -t 10 -u 3 started || true
    [ -n "$started" ] || { echo "buscar-key.sh: the opener was not started" >&2; exit 1; }
    times+=("$(milliseconds "$started" "$sent")")
    sleep 0.25
    began=$EPOCHREALTIME
    "$floor" "$build/bin/Ponencias.mdb" "$search" "$desk/tmp/floor.xlsx" "$address"
    floor_times+=("$(milliseconds "$EPOCHREALTIME" "$began")")
    sleep 0.25
done
echo "Buscar key to the opener started, whole sample, $presses presses: median" \
    "$(median "${times[@]}")"
echo "  the floor, bare libxlsxwriter writing the same workbook as a whole process, between" \
    "the presses: median $(median "${floor_times[@]}")"
[ ! -s "$desk/stderr" ] || { echo "the program wrote on standard error:"; cat "$desk/stderr"; }
