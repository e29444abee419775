#!/usr/bin/env bash
# SSIM speed against FFmpeg's ssim filter on the same 1080p raw clips, as a ratio of times per frame (ours over
# FFmpeg's; below 1 is faster). Until the command-line program exists, our side is the per-frame time of the
# SSIM metric from bench_metrics, which leaves out reading and preparing the frames.
# Usage: bench/ssim_vs_ffmpeg.sh [build dir] [frames]
set -euo pipefail

build=${1:-build/release}
frames=${2:-120}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for format in gray yuv420p; do
  ffmpeg -v error -f lavfi -i "testsrc2=size=1920x1080:rate=25" -frames:v "$frames" -pix_fmt "$format" \
    -f rawvideo "$work/original.$format"
  ffmpeg -v error -f rawvideo -pix_fmt "$format" -s 1920x1080 -i "$work/original.$format" \
    -vf "noise=alls=8:allf=t" -pix_fmt "$format" -f rawvideo "$work/processed.$format"
done

ffmpeg_frame_ms() {
  local format=$1 start end
  start=$(date +%s.%N)
  ffmpeg -v error -f rawvideo -pix_fmt "$format" -s 1920x1080 -i "$work/original.$format" \
    -f rawvideo -pix_fmt "$format" -s 1920x1080 -i "$work/processed.$format" -lavfi ssim -f null -
  end=$(date +%s.%N)
  echo "($end - $start) * 1000 / $frames" | bc -l
}

ours_ms=$("$build/bin/bench_metrics" --benchmark_filter='BM_Metric<SsimMetric>' --benchmark_format=csv \
  --benchmark_min_time=1 2>/dev/null | awk -F, '/SsimMetric/ { print $3 }')
for format in gray yuv420p; do
  theirs_ms=$(ffmpeg_frame_ms "$format")
  printf 'ffmpeg ssim (%s): %.2f ms/frame, %.0f frames/s\n' "$format" "$theirs_ms" "$(echo "1000 / $theirs_ms" | bc -l)"
  printf 'vidmetra SSIM (Y): %.2f ms/frame, ratio %.2f\n' "$ours_ms" "$(echo "$ours_ms / $theirs_ms" | bc -l)"
done
