#!/usr/bin/env bash
# Takes screenshots of the real programs on a virtual X display and saves them as small PNGs in
# docs/screenshots/. Needs xvfb, x11-utils and imagemagick (scripts/install-deps.sh) and a release build.
# Add a window with one more `shot` line at the end. The desktop program, driven through a real run, has a script
# of its own, run last.
#
# Usage: scripts/screenshots.sh [build-dir]   (default: build/release)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/release}/bin
out=$root/docs/screenshots
work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
mkdir -p "$out"

Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# shot NAME.png PROGRAM [ARGUMENTS...]: starts the program, waits for it to draw, grabs the screen, trims the
# empty background around the window and stops the program.
shot() {
  local name=$1
  shift
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "${SHOT_DELAY:-3}"
  import -window root "$work/screen.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  convert "$work/screen.png" -trim +repage -colors 128 -strip "$out/$name"
  echo "screenshots.sh: $out/$name"
}

# A picture to look at: FFmpeg's test pattern as a 24-bit BMP.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=352x288:rate=1 -frames:v 1 -pix_fmt bgr24 "$work/testsrc.bmp"

shot bitmappack.png "$bin/bitmappack"
shot packreel.png "$bin/packreel"
shot bitmapreel.png "$bin/bitmapreel"
shot bitmapview.png "$bin/bitmapview" "$work/testsrc.bmp"

# The desktop program on a display of its own.
kill "$xvfb_pid" 2>/dev/null || true
bash "$root/scripts/desktop_screenshots.sh"
