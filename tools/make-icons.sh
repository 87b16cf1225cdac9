#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the PNG icons from ui/resources/styrmark.svg. Run by hand after changing
# the SVG and commit the PNGs: the build uses them as they are. Each size is drawn from
# the SVG, so that no icon Windows shows is another one stretched: 16 to 64 px are the
# title bar's and the task switcher's sizes at 100 to 200 % scaling, 256 px Explorer's.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh icons

resources=ui/resources
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# librsvg draws the SVG the way desktops do; ImageMagick 6's own SVG reader
# ignores clip-path and outlines shapes in black.
small=(16 20 24 32)
large=(40 48 64 256)
for size in "${small[@]}" "${large[@]}"; do
    rsvg-convert -w "$size" -h "$size" "$resources/styrmark.svg" -o "$work/$size.png"
done

# The small icons get a fixed palette: white, blue, light cyan and the steps
# between them that antialiasing makes. Letting -colors choose shifts white to
# off-white and washes the cyan out.
convert xc:'#ffffff' xc:'#0040c0' xc:'#c0ffff' \
        xc:'#bfcfef' xc:'#80a0e0' xc:'#4070d0' \
        xc:'#3070d0' xc:'#60a0e0' xc:'#90d0f0' \
        xc:'#f0ffff' xc:'#e0ffff' xc:'#d0ffff' \
        +append "$work/palette.png"

for size in "${small[@]}"; do
    convert "$work/$size.png" -background white -alpha remove -alpha off \
            +dither -remap "$work/palette.png" -strip PNG8:"$resources/styrmark-$size.png"
done
# From 40 px on, and at 48 px, the least size freedesktop icon themes must have, they keep
# every colour antialiasing makes.
for size in "${large[@]}"; do
    convert "$work/$size.png" -background white -alpha remove -alpha off \
            -strip PNG24:"$resources/styrmark-$size.png"
done

identify "$resources"/styrmark-{16,20,24,32,40,48,64,256}.png
