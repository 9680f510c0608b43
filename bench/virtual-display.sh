# Sourced by the benchmarks that drive the program in a real window: a virtual display of its
# own (Xvfb) in DISPLAY, a scratch folder in $scratch, and, on exit, the program in $program
# stopped, the display closed and the folder removed. Needs Xvfb and xdotool.
scratch=$(mktemp -d)
program=
Xvfb ":$((90 + RANDOM % 100))" -screen 0 1280x1024x24 -nolisten tcp -displayfd 3 \
    3> "$scratch/display" > /dev/null 2>&1 &
xvfb=$!
close_virtual_display() {
    [ -z "$program" ] || kill "$program" 2> /dev/null || true
    kill "$xvfb" 2> /dev/null || true
    rm -rf "$scratch"
}
trap close_virtual_display EXIT
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
