#!/usr/bin/env bash
# Renders resources/pedal-editor.svg into the PNG sizes of the hicolor icon theme
# (resources/icons/<N>x<N>/pedal-editor.png). The PNGs are kept in the repository, so the
# build does not need this; run it after changing the SVG (needs ImageMagick's convert).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
svg="$here/resources/pedal-editor.svg"
for size in 16 22 24 32 48 64 128 256; do
  out="$here/resources/icons/${size}x${size}/pedal-editor.png"
  mkdir -p "$(dirname "$out")"
  /usr/bin/convert -background none -density 768 "$svg" -resize "${size}x${size}" -depth 8 -strip \
    -define png:exclude-chunks=date,time "$out"
done
