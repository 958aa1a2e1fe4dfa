#!/bin/sh
# Renders MAINICON.svg to the PNG sizes the desktop's icon theme uses (needs rsvg-convert,
# from librsvg2-bin). The PNGs are checked in; run this after changing the SVG.
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" MAINICON.svg -o "MAINICON-$size.png"
done
