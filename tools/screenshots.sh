#!/usr/bin/env bash
# Remakes the README's screenshots (docs/screenshots/*.png) from a built Quendra: the start
# screen, a Study test item and the score report, on a virtual display. Run it after any
# change of look:  xvfb-run -a -s "-screen 0 1024x768x24" tools/screenshots.sh [build]
# It needs ImageMagick's import and convert, and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
output=docs/screenshots
[ -n "${DISPLAY:-}" ] || { echo "No display: run it under xvfb-run (see above)" >&2; exit 1; }

# A scratch lock folder and settings: a running copy does not block this one, and the
# user's own font size and window place do not show up in the pictures.
scratch=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR=$scratch XDG_CONFIG_HOME=$scratch/config
"$build"/quexam &
pid=$!

# Keys go to the window under the pointer: there is no window manager to give the focus.
pointAtWindow() { xdotool mousemove 512 384; sleep 1; }
shoot() { import -window root -resize 800x600 -depth 8 -strip "$output/$1.png"; }

xdotool search --sync --onlyvisible --name "Quendra" >/dev/null
sleep 2
pointAtWindow
shoot start
xdotool key alt+s   # Study Mode: the Get Ready screen
sleep 1
xdotool key alt+s   # Start Test
sleep 2
pointAtWindow
shoot item
xdotool key alt+g   # Grade Test, and OK to the question
sleep 1
xdotool key Return
sleep 2
shoot report
echo "Wrote $output/start.png, item.png and report.png"
