#!/usr/bin/env bash
# Screenshots of the desktop program (called by screenshots.sh) under Xvfb into docs/screenshots/: the real program, driven from the keyboard
# with xdotool, on a real run over two generated clips. Needs the release build (vidmetra and the sample plug-in).
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/release/bin
out=docs/screenshots
work=$(mktemp -d)
mkdir -p "$out"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$vidmetra" 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

# Two CIF clips: a test pattern and its H.264-encoded version, both raw I420.
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=352x288:rate=25:duration=2" -pix_fmt yuv420p -f rawvideo "$work/original.yuv"
ffmpeg -loglevel error -y -f rawvideo -pix_fmt yuv420p -s 352x288 -i "$work/original.yuv" -c:v libx264 -crf 35 -preset veryfast "$work/encoded.mp4"
ffmpeg -loglevel error -y -i "$work/encoded.mp4" -pix_fmt yuv420p -f rawvideo "$work/encoded.yuv"

# Settings as a user would have left them: PSNR, CSV and bad frames on, outputs into the scratch folder.
export VIDMETRA_SETTINGS_FILE=$work/settings.reg
cat > "$VIDMETRA_SETTINGS_FILE" <<SETTINGS
metric=dword:0
save_csv=dword:1
save_bad_frames=dword:1
bad_frames_num=dword:10
rad=dword:20
show_report=dword:1
csv_output_dir=sz:"$work/"
vis_output_dir=sz:"$work/"
bad_frames_output_dir=sz:"$work/"
SETTINGS

"$bin/vidmetra" >"$work/stdout.txt" 2>&1 &
vidmetra=$!

# The window with exactly this title, once it is up.
window() {
  for _ in $(seq 100); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "screenshots.sh: no window \"$1\"" >&2
  exit 1
}
shot() { local id; id=$(window "$1"); xdotool windowfocus --sync "$id"; sleep 0.4; import -window "$id" "$out/$2.png"; echo "$out/$2.png"; }
keys() { xdotool key --delay 60 "$@"; }
# Leaves a dialog; without a window manager the main window has to be given the keyboard back by hand.
leave() { keys Escape; sleep 0.3; xdotool windowfocus --sync "$main"; sleep 0.2; }
type_text() { xdotool type --delay 10 "$1"; }

main=$(window "Vidmetra 1.3")
xdotool windowfocus --sync "$main"
sleep 0.5
# Focus starts in the original's field; Tab walks the controls in the order they appear.
type_text "$work/original.yuv"; keys Tab Tab; type_text "$work/encoded.yuv"
shot "Vidmetra 1.3" main_dialog
keys Tab Tab Tab Tab space;           shot "Vidmetra - Advanced file settings" advanced_file_settings; leave
# With the visualization ticked for a moment, so that its settings and the compressor chooser can be reached.
keys Tab Tab Tab Tab Tab space Tab space
shot "Vidmetra - Advanced CSV and visualization settings" csv_visualization_settings
keys Tab Tab Tab Tab Tab Tab Tab Tab space; xdotool windowfocus --sync "$(window "Choose compressor:")"; sleep 0.3; keys End
shot "Choose compressor:" compressor_chooser
keys Escape; sleep 0.3; xdotool windowfocus --sync "$(window "Vidmetra - Advanced CSV and visualization settings")"
leave; keys shift+Tab space
keys Tab Tab Tab space;               shot 'Vidmetra - "Bad frames" settings' bad_frames_settings; leave
keys Tab space;                       shot "Vidmetra - More options" more_options; leave
# The sample plug-in, last in the list, is the configurable one.
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab End Tab space
shot "Vidmetra - Metric configuration" metric_configuration; leave
keys shift+Tab Home Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space
# Raw YUV files have no header: the program asks for each one's size and layout before the run starts.
for file in 1 2; do
  window "Vidmetra - YUV File settings" >/dev/null; sleep 0.3
  keys ctrl+a; type_text 352; keys Tab ctrl+a; type_text 288; keys Tab Down Down
  [ "$file" = 1 ] && shot "Vidmetra - YUV File settings" yuv_file_settings
  keys Return
done
window "Vidmetra - Progress" >/dev/null
sleep 4
shot "Vidmetra - Progress" progress
# "Continue": the results graph opens; a few frames on, the frame window (Return) follows the current frame and
# shows the processed file after "2".
keys Return
graph=$(window "Vidmetra - Results visualization")
xdotool windowfocus --sync "$graph"; sleep 0.5
keys Right Right Right Right Right
shot "Vidmetra - Results visualization" results_graph
keys Return
frame=$(window "Vidmetra - Original, frame 29")
xdotool windowfocus --sync "$frame"; sleep 0.3
keys 2 Right
shot "Vidmetra - First processed, frame 30" frame_window
keys Escape; sleep 0.3
xdotool windowfocus --sync "$graph"; keys Escape; sleep 0.5
xdotool windowfocus --sync "$main"
keys ctrl+q 2>/dev/null || true
echo "CSV written: $(ls "$work"/*.csv)"

# The plot of a comparative run as vidmetra-cli draws it for papers, without a display: eight seconds of the test
# pattern against an H.264 and an MPEG-4 part 2 encoding.
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=352x288:rate=25:duration=8" -pix_fmt yuv420p -f rawvideo "$work/reference.yuv"
ffmpeg -loglevel error -y -f rawvideo -pix_fmt yuv420p -s 352x288 -i "$work/reference.yuv" -c:v libx264 -crf 32 -preset veryfast "$work/h264_crf32.avi"
ffmpeg -loglevel error -y -f rawvideo -pix_fmt yuv420p -s 352x288 -i "$work/reference.yuv" -c:v mpeg4 -q:v 7 "$work/mpeg4_q7.avi"
env -u DISPLAY "$bin/vidmetra-cli" -q --size 352x288 "$work/reference.yuv" "$work/h264_crf32.avi" "$work/mpeg4_q7.avi" \
  --plot "$out/psnr_plot.png" >/dev/null
echo "$out/psnr_plot.png"
