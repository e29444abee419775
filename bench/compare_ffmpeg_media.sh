#!/usr/bin/env bash
# A 1080p Y4M original against its H.264 encode in MP4 (made by ffmpeg with libx264, B-frames, 12-frame GOPs), both
# read through libavformat by vidmetra-cli, against FFmpeg's psnr filter on the same pair: wall time and peak memory
# as ratios (ours / FFmpeg's) from runs interleaved in one session.
#   bench/compare_ffmpeg_media.sh     environment: FRAMES (default 120), RUNS (default 5), CLI, THREADS (passed as
#                                     --threads when set)
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${FRAMES:-120}
runs=${RUNS:-5}
cli=${CLI:-build/release/bin/vidmetra-cli}
size=1920x1080
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$size:rate=25" -frames:v "$frames" -pix_fmt yuv420p \
  "$work/original.y4m"
ffmpeg -loglevel error -y -i "$work/original.y4m" -c:v libx264 -preset fast -crf 23 \
  -x264-params bframes=3:keyint=12:min-keyint=12 "$work/encoded.mp4"

ours=("$cli" -q --metric psnr --component Y ${THREADS:+--threads "$THREADS"} "$work/original.y4m" "$work/encoded.mp4")
theirs=(ffmpeg -loglevel error -nostdin -i "$work/original.y4m" -i "$work/encoded.mp4" -lavfi psnr -f null -)

source bench/interleaved_runs.sh
compare_runs "psnr, 1920x1080 H.264 in MP4 against its Y4M original${THREADS:+, --threads $THREADS}" "$frames"
