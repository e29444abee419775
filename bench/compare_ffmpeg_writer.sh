#!/usr/bin/env bash
# Wall time and peak memory of writing 1080p frames into an AVI file through AviWriter against FFmpeg compressing
# the same frames from a raw file (-f rawvideo ... -c:v ffv1 -f avi), reported as ratios (ours / FFmpeg's) from
# runs interleaved in one session. Both read their frames from a raw file in the page cache.
#   bench/compare_ffmpeg_writer.sh [FOURCC ffmpeg-encoder]   (default FFV1 ffv1)
#   environment: FRAMES (default 120), RUNS (default 5), RUNNER
set -euo pipefail
cd "$(dirname "$0")/.."
fourcc=${1:-FFV1}
encoder=${2:-ffv1}
frames=${FRAMES:-120}
runs=${RUNS:-5}
runner=${RUNNER:-build/release/bin/avi_writer_run}
size=1920x1080
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

raw="-f rawvideo -pix_fmt bgr24 -s $size -r 25"
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$size:rate=25" -frames:v "$frames" -pix_fmt bgr24 \
  -f rawvideo "$work/upright.bgr"
# AviWriter takes rows bottom-up, as AVI stores them; FFmpeg's raw input is upright. The pictures are the same.
ffmpeg -loglevel error -y $raw -i "$work/upright.bgr" -vf vflip -f rawvideo "$work/bottom_up.bgr"

ours=("$runner" "$work/bottom_up.bgr" 1920 1080 "$work/ours.avi" "$fourcc")
theirs=(ffmpeg -loglevel error -nostdin -y $raw -i "$work/upright.bgr" -c:v "$encoder" -f avi "$work/theirs.avi")
our_name=AviWriter

. bench/interleaved_runs.sh
compare_runs "writing $fourcc, 1920x1080 RGB" "$frames"
# Both files hold the same codec, pixel format and frame count, or the comparison means nothing.
for f in ours theirs; do
  ffprobe -v error -select_streams v:0 -count_packets \
    -show_entries stream=codec_name,pix_fmt,nb_read_packets -of csv=p=0 "$work/$f.avi" | sed "s/^/  $f: /"
done
