#!/usr/bin/env bash
# Renders the program icon, packaging/qmxread.svg, into the pictures the
# windows carry (src/gui/shell/icons), one per size, with ImageMagick. Run it
# after changing the SVG and commit the pictures with it.
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 24 32 48 64 128 256; do
  # Drawn at four times the size, then scaled down, for smooth edges.
  convert -background none -density $((size * 9 / 2)) packaging/qmxread.svg \
    -resize "${size}x${size}" -strip "PNG32:src/gui/shell/icons/qmxread-$size.png"
done
