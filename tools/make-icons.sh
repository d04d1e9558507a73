#!/usr/bin/env bash
# Renders the program's icon from assets/icons/kestrova.svg into the PNG sizes that are
# installed beside it. The PNGs are committed, so building needs no SVG renderer; run this
# after changing the SVG. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../assets/icons"
for size in 48 128; do
  rsvg-convert -w "$size" -h "$size" kestrova.svg -o "kestrova-$size.png"
done
