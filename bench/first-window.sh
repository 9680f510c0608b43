#!/usr/bin/env bash
# From a fresh clone to the program's main window, as a new user goes: clones this repository
# into a temporary folder, runs `scripts/dev.sh run` there on a virtual display with the
# compiler cache off, presses "Entrar" on the splash window (Alt+E), and prints the
# seconds from the clone to the first window and to the main window ("Consulta de ponencias").
# The packages the set-up installs are installed first, so the figure is the clone, the
# configuration and the build; on a fresh machine their installation comes on top.
# Needs Xvfb and xdotool (Debian: xvfb, xdotool).
#
#   bench/first-window.sh
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$here/scripts/dev.sh" deps > /dev/null

. "$here/bench/virtual-display.sh"
work=$scratch
export CCACHE_DISABLE=1

started=$(date +%s.%N)
git clone -q "$here" "$work/ponencias"
(cd "$work/ponencias" && exec bash scripts/dev.sh run > "$work/run.log" 2>&1) &
program=$!
seconds() { awk -v now="$(date +%s.%N)" -v then="$started" 'BEGIN {printf "%.1f", now - then}'; }

xdotool search --sync --onlyvisible --classname ponencias > /dev/null
first=$(seconds)
sleep 0.5  # the window settled, as a user's first look at it
splash=$(xdotool search --onlyvisible --classname ponencias | head -n 1)
xdotool windowfocus --sync "$splash" key alt+e
xdotool search --sync --onlyvisible --name '^Consulta de ponencias$' > /dev/null
main=$(seconds)
translation_units=$(grep -c 'Building C' "$work/run.log" || true)
echo "Debian $(cat /etc/debian_version): first window after $first s, main window after $main s" \
    "($translation_units translation units built)"
