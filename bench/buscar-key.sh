#!/usr/bin/env bash
# The query window's "Buscar" over the whole sample, as a user meets it: the time from the key
# sent to the focused "Buscar" (`xdotool key`) to the desktop's opener started with the result
# (a stand-in xdg-open that only records when it starts). The program runs on a virtual display,
# in a desktop of its own whose spreadsheet application takes templates, from the splash window
# through the main window to the query window by their access keys, as a user goes; then Enter
# on the focused "Buscar" searches, N times.
# Needs Xvfb and xdotool (Debian: xvfb, xdotool).
#
#   bench/buscar-key.sh [BUILD_DIR [N]]     default: build 9
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
presses=${2:-9}
executable="$build/bin/ponencias"
[ -x "$executable" ] || { echo "buscar-key.sh: no program at $executable" >&2; exit 1; }

. "$here/bench/virtual-display.sh"
desk=$scratch

mkdir -p "$desk/bin" "$desk/home" "$desk/tmp" "$desk/share/applications"
stamps="$desk/opener-started"
# The stand-in opener: bash's own clock, no other program started before the time is taken.
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

times=()
for n in $(seq "$presses"); do
    sent=$EPOCHREALTIME
    xdotool key Return
    for _ in $(seq 1000); do
        [ -f "$stamps" ] && [ "$(wc -l < "$stamps")" -ge "$n" ] && break
        sleep 0.005
    done
    started=$(sed -n "${n}p" "$stamps")
    [ -n "$started" ] || { echo "buscar-key.sh: the opener was not started" >&2; exit 1; }
    times+=("$(awk -v a="$started" -v b="$sent" 'BEGIN {printf "%.0f", (a - b) * 1000}')")
    sleep 0.5
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(sed -n "$(((presses + 1) / 2))p" <<< "$sorted")
echo "Buscar key to the opener started, whole sample, $presses presses: median $median ms" \
    "($(head -n 1 <<< "$sorted")–$(tail -n 1 <<< "$sorted") ms; each: ${times[*]})"
[ ! -s "$desk/stderr" ] || { echo "the program wrote on standard error:"; cat "$desk/stderr"; }
