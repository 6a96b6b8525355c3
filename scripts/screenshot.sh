#!/usr/bin/env bash
# Makes docs/songs-page.png, docs/setlist-page.png and docs/global-settings-page.png: the
# editor's Songs, Setlist and Global Settings pages with a small demo session, on a virtual
# X display (Xvfb), captured with ImageMagick's `import`; xdotool picks a song and
# switches tabs. docs/setlist-stage.png and docs/setlist-compact.png are the first page of
# the demo's printed setlist in each layout (pedal-session's PDF, drawn by pdftoppm).
#   scripts/screenshot.sh [build-dir]      (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
editor="$build/app/pedal-editor"
session_tool="$build/tools/pedal-session/pedal-session"
out="$here/docs/songs-page.png"
out_global="$here/docs/global-settings-page.png"
out_setlist="$here/docs/setlist-page.png"
if [ ! -x "$editor" ] || [ ! -x "$session_tool" ]; then
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPEDAL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target pedal-editor pedal-session
fi
for tool in Xvfb import xdotool pdftoppm; do
  command -v "$tool" >/dev/null || {
    echo "$tool is needed (packages xvfb, imagemagick, xdotool, poppler-utils)" >&2
    exit 1
  }
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
# White text, but black on the yellow and cyan backgrounds.
text_colours = "".join("%02d" % (0 if i < len(names) and i % 6 in (1, 3) else 1) for i in range(128))

# The global block: factory settings but for the MIDI input channel (2), the click length
# of output 2 (40), the tempo offset of output 3 (+2), the metronome (on) and the
# controller of the incoming Tap message (80), so the page marks them as changed.
def incoming(controller):
    return "178" + "%03d" % controller + "128"  # Control Change on channel 3, any value
block = ("240" + "001" + "02" + "01" + "01" + "033" + "040" + "033" + "033" + "0000"
         + "000" + "00" + "00" + "00" + "02" + "00" + "31" + "01" + "31"
         + "0" + "176" + "180" + "0" + "176" + "180"
         + incoming(80) + "".join(incoming(c) for c in range(94, 104))
         + "0" + "00" + "00" + "".join(incoming(c) for c in range(104, 107)) + "0060" + incoming(107))
assert len(block) == 205, len(block)
with open(sys.argv[1], "w", newline="") as f:
    f.write("Name]" + all_names + "\r\n")
    f.write("Tempos]" + all_tempos + "\r\n")
    f.write("BackgroundColours]" + colours + "\r\n")
    f.write("ForegroundColours]" + text_colours + "\r\n")
    f.write("Global]" + block + "\r\n")
    # A set of eight songs, in the order of the gig; 255 marks an empty slot.
    setlist = [1, 5, 3, 8, 2, 11, 7, 12]
    f.write("Setlist]" + "".join("%03d" % n for n in setlist) + "255" * (128 - len(setlist)) + "\r\n")
PY

# The printed setlist, page 1 of each layout at 60 dpi; A4 (the C locale).
for layout in stage compact; do
  LC_ALL=C "$session_tool" setlist "$work/demo.txt" --format pdf --layout "$layout" -o "$work/$layout.pdf"
  pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/$layout.pdf" "$here/docs/setlist-$layout"
  echo "wrote $here/docs/setlist-$layout.png"
done

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$editor" "$work/demo.txt" >/dev/null 2>&1 &
editor_pid=$!
# A debug build with sanitizers starts slowly: SCREENSHOT_WAIT seconds (default 3).
wait_s="${SCREENSHOT_WAIT:-3}"
sleep "$wait_s"
mkdir -p "$(dirname "$out")"
shot() { DISPLAY="$display" import -window root -crop 1180x820+0+0 +repage "$1"; echo "wrote $1"; }
# The window sits at the top left of the bare X display: the third song row of the table,
# then the Global Settings tab.
DISPLAY="$display" xdotool mousemove 130 156 click 1
sleep 1
shot "$out"
# The Setlist tab, with its second entry highlighted.
DISPLAY="$display" xdotool mousemove 190 66 click 1
sleep 1
DISPLAY="$display" xdotool mousemove 800 186 click 1
sleep 1
shot "$out_setlist"
DISPLAY="$display" xdotool mousemove 397 66 click 1
sleep 1
shot "$out_global"
