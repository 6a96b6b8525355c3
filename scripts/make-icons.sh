#!/usr/bin/env bash
# Remakes the icons kept in the repository (the build does not need this script; it needs
# ImageMagick's convert, and for the SVG a convert that can read SVG):
#   scripts/make-icons.sh [app|commands]      (default: both)
#  - resources/pedal-editor.svg rendered into the PNG sizes of the hicolor icon theme
#    (resources/icons/<N>x<N>/pedal-editor.png); run after changing the SVG;
#  - the window's command icons, resources/icons/commands/<name>.png (24x24) and
#    <name>@2x.png (48x48, taken on screens of twice the density), one per icon name of
#    the command table in editor/WindowCommands.cpp. They are what a command shows when
#    the desktop's icon theme has no icon of that name (or there is no theme).
# Each command icon is drawn below on a 48-unit grid: one grey, on transparent, strokes of
# 4 units centred on even coordinates so that the 24-pixel size stays sharp.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
convert=/usr/bin/convert

what="${1:-all}"
case "$what" in
  all | app | commands) ;;
  *) echo "usage: scripts/make-icons.sh [app|commands]" >&2; exit 2 ;;
esac

if [ "$what" != commands ]; then
  svg="$here/resources/pedal-editor.svg"
  for size in 16 22 24 32 48 64 128 256; do
    out="$here/resources/icons/${size}x${size}/pedal-editor.png"
    mkdir -p "$(dirname "$out")"
    "$convert" -background none -density 768 "$svg" -resize "${size}x${size}" -depth 8 -strip \
      -define png:exclude-chunks=date,time "$out"
  done
fi
[ "$what" != app ] || exit 0

ink='#3d3d3d'
declare -A drawing
# A folder, its front flap open.
drawing[document-open]="path 'M 6,38 L 6,8 L 18,8 L 22,12 L 38,12 L 38,20'
  path 'M 6,40 L 12,20 L 44,20 L 38,40 Z'"
# A disk: its shutter (filled) and its label.
drawing[document-save]="path 'M 6,6 L 36,6 L 42,12 L 42,42 L 6,42 Z'
  fill '$ink' rectangle 14,6 32,16 fill none
  rectangle 14,28 34,42"
# The disk, smaller, and a pencil across its corner.
drawing[document-save-as]="path 'M 4,4 L 28,4 L 34,10 L 34,34 L 4,34 Z'
  fill '$ink' rectangle 10,4 24,12 fill none
  stroke none fill '$ink' polygon 44,24 48,28 32,44 26,46 28,40
  stroke '$ink' fill none"
# A doorway with an arrow leaving it.
drawing[application-exit]="path 'M 26,8 L 8,8 L 8,40 L 26,40'
  line 18,24 34,24
  fill '$ink' stroke none polygon 44,24 32,14 32,34"
# A hooked arrow back to the left, and its mirror image.
drawing[edit-undo]="path 'M 40,40 L 40,30 Q 40,18 28,18 L 14,18'
  fill '$ink' stroke none polygon 4,18 16,8 16,28"
drawing[edit-redo]="path 'M 8,40 L 8,30 Q 8,18 20,18 L 34,18'
  fill '$ink' stroke none polygon 44,18 32,8 32,28"
# A plug: two prongs, the body, the cable.
drawing[network-connect]="line 18,4 18,16 line 30,4 30,16
  fill '$ink' roundrectangle 12,16 36,30 3,3
  polygon 16,30 32,30 28,36 20,36
  line 24,36 24,44"
# Bold arrows: up to the pedal (Send All), down from it (Load All).
drawing[go-up]="fill '$ink' stroke none polygon 24,4 44,24 32,24 32,44 16,44 16,24 4,24"
drawing[go-down]="fill '$ink' stroke none polygon 24,44 44,24 32,24 32,4 16,4 16,24 4,24"
# An eraser lying on a line.
drawing[edit-clear]="line 4,44 44,44
  push graphic-context translate 26,24 rotate -45
  roundrectangle -18,-8 16,8 2,2
  fill '$ink' roundrectangle -18,-8 -4,8 2,2
  pop graphic-context"
# A chip with an arrow up into it (new firmware).
drawing[system-software-update]="roundrectangle 12,12 36,36 3,3
  stroke-width 3 line 18,4 18,12 line 30,4 30,12 line 18,36 18,44 line 30,36 30,44
  line 4,18 12,18 line 4,30 12,30 line 36,18 44,18 line 36,30 44,30
  fill '$ink' stroke none polygon 24,16 32,24 28,24 28,32 20,32 20,24 16,24"
# A circle arrow.
drawing[view-refresh]="ellipse 24,24 16,16 -25,268
  fill '$ink' stroke none polygon 34,8 22,0 22,16"
# A stop sign's octagon with a cross.
drawing[process-stop]="polygon 16,4 32,4 44,16 44,32 32,44 16,44 4,32 4,16
  line 18,18 30,30 line 30,18 18,30"
# A circled i.
drawing[help-about]="circle 24,24 24,4
  fill '$ink' stroke none circle 24,14 24,17
  stroke '$ink' fill none line 24,22 24,34"

# The icon names of the command table, in table order.
mapfile -t names < <(sed -n 's/^     "\([a-z]*-[a-z-]*\)",$/\1/p' "$here/editor/WindowCommands.cpp")
[ ${#names[@]} -gt 0 ] || { echo "no icon names found in editor/WindowCommands.cpp" >&2; exit 1; }
mkdir -p "$here/resources/icons/commands"
for name in "${names[@]}"; do
  [ -n "${drawing[$name]:-}" ] || { echo "no drawing for the command icon \"$name\"" >&2; exit 1; }
  # Drawn four times over and scaled down by averaging, which smooths the edges evenly.
  for size in 24 48; do
    suffix=""
    [ "$size" = 48 ] && suffix="@2x"
    "$convert" -size 192x192 xc:none \
      -draw "scale 4,4 stroke '$ink' stroke-width 4 fill none stroke-linecap round stroke-linejoin round
             ${drawing[$name]}" \
      -filter Box -resize "${size}x${size}" -depth 8 -strip -define png:exclude-chunks=date,time \
      "PNG32:$here/resources/icons/commands/$name$suffix.png"
  done
done
