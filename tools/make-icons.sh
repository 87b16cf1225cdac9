#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the PNG icons from ui/resources/styrmark.svg. Run by hand after changing
# the SVG and commit the PNGs: the build uses them as they are.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert (imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in rsvg-convert convert; do
    command -v "$tool" >/dev/null || { echo "make-icons.sh needs $tool" >&2; exit 1; }
done

resources=ui/resources
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# librsvg draws the SVG the way desktops do; ImageMagick 6's own SVG reader
# ignores clip-path and outlines shapes in black.
for size in 32 48 256; do
    rsvg-convert -w "$size" -h "$size" "$resources/styrmark.svg" -o "$work/$size.png"
done

# The small icon gets a fixed palette: white, blue, light cyan and the steps
# between them that antialiasing makes. Letting -colors choose shifts white to
# off-white and washes the cyan out.
convert xc:'#ffffff' xc:'#0040c0' xc:'#c0ffff' \
        xc:'#bfcfef' xc:'#80a0e0' xc:'#4070d0' \
        xc:'#3070d0' xc:'#60a0e0' xc:'#90d0f0' \
        xc:'#f0ffff' xc:'#e0ffff' xc:'#d0ffff' \
        +append "$work/palette.png"

convert "$work/32.png" -background white -alpha remove -alpha off \
        +dither -remap "$work/palette.png" -strip PNG8:"$resources/styrmark-32.png"
# 48 px is the least size freedesktop icon themes must have; like 256 px it keeps
# every colour antialiasing makes.
for size in 48 256; do
    convert "$work/$size.png" -background white -alpha remove -alpha off \
            -strip PNG24:"$resources/styrmark-$size.png"
done

identify "$resources"/styrmark-{32,48,256}.png
