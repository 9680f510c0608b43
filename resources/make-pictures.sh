#!/usr/bin/env bash
# Renders the program's pictures from their SVG sources in pictures/ with ImageMagick (Debian
# package imagemagick). The rendered files are kept beside this script so that a build needs no
# renderer; run it again after changing a source.
#
#   splash-logo.gif                 the splash window's logo, 150 x 59, opaque
#   consulta.gif, abrir-base.gif,   the main window's button pictures, 32 x 32, 35 x 35 and
#   salir.gif                       24 x 22, transparent around the drawing
#   icons/ponencias-N.png           the window and desktop icon at N x N pixels
#   (pictures/ponencias.svg is itself installed as the scalable icon)
set -euo pipefail
cd "$(dirname "$0")"

render() {  # render SOURCE WIDTHxHEIGHT OUTPUT [options...]
    local source=$1 size=$2 output=$3
    shift 3
    convert -background none -density 96 "pictures/$source.svg" -resize "$size!" "$@" -strip "$output"
    local got
    got=$(identify -format '%wx%h' "$output")
    if [ "$got" != "$size" ]; then
        echo "$output: $got instead of $size" >&2
        exit 1
    fi
}

render splash-logo 150x59 splash-logo.gif -background white -flatten
# Button pictures keep a transparent surround; GIF knows only full transparency.
render consulta 32x32 consulta.gif -channel A -threshold 50% +channel
render abrir-base 35x35 abrir-base.gif -channel A -threshold 50% +channel
render salir 24x22 salir.gif -channel A -threshold 50% +channel

mkdir -p icons
for n in 16 24 32 48 64 128 256; do
    render ponencias "${n}x${n}" "icons/ponencias-$n.png" -depth 8
done
