#!/usr/bin/env bash
# Makes docs/songs-page.png: the editor's Songs page with a small demo session, on a
# virtual X display (Xvfb), captured with ImageMagick's `import`.
#   scripts/screenshot.sh [build-dir]      (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
editor="$build/app/pedal-editor"
out="$here/docs/songs-page.png"
if [ ! -x "$editor" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPEDAL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target pedal-editor
fi
for tool in Xvfb import; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (packages xvfb, imagemagick)" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
editor_pid=""
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A demo session: names and tempos only (a session file may hold some keys only).
python3 - "$work/demo.txt" <<'PY'
import sys
names = ["Opening\nRiff", "Slow Burn", "Night Drive", "Echoes", "Run to Me", "Paper Moon",
         "Skyline", "Last Call", "Undertow", "Glass House", "Firefly", "Homeward"]
tempos = [128, 72, 104, 96, 140, 88, 118, 132, 84, 110, 150, 92]
def field(name):
    name = name.replace("\n", "[")
    return name + "`" * (30 - len(name))
all_names = "".join(field(names[i]) if i < len(names) else field("") for i in range(128))
all_tempos = "".join("%03d" % (tempos[i] if i < len(tempos) else 120) for i in range(128))
colours = "".join("%02d" % (3 + (i % 6) * 3 if i < len(names) else 0) for i in range(128))
with open(sys.argv[1], "w", newline="") as f:
    f.write("Name]" + all_names + "\r\n")
    f.write("Tempos]" + all_tempos + "\r\n")
    f.write("BackgroundColours]" + colours + "\r\n")
PY

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$editor" "$work/demo.txt" >/dev/null 2>&1 &
editor_pid=$!
sleep 3
mkdir -p "$(dirname "$out")"
DISPLAY="$display" import -window root -crop 1180x820+0+0 +repage "$out"
echo "wrote $out"
