#!/usr/bin/env bash
# Wall time and peak memory of vidmetra-cli against FFmpeg's own filter on the same 1080p 4:2:0 raw clips,
# reported as ratios (ours / FFmpeg's) from runs interleaved in one session.
#   bench/compare_ffmpeg.sh [psnr|ssim]     environment: FRAMES (default 120), RUNS (default 5), CLI
set -euo pipefail
cd "$(dirname "$0")/.."
metric=${1:-psnr}
frames=${FRAMES:-120}
runs=${RUNS:-5}
cli=${CLI:-build/release/bin/vidmetra-cli}
size=1920x1080
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

raw="-f rawvideo -pix_fmt yuv420p -s $size"
source bench/interleaved_runs.sh
write_test_clips "$size" "$frames"

ours=("$cli" -q --metric "$metric" --component Y --size "$size" --format iyuv "$work/original.yuv" "$work/processed.yuv")
theirs=(ffmpeg -loglevel error -nostdin $raw -i "$work/processed.yuv" $raw -i "$work/original.yuv"
        -lavfi "[0:v][1:v]$metric" -f null -)

compare_runs "$metric, 1920x1080 4:2:0" "$frames"
