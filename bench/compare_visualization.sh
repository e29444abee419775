#!/usr/bin/env bash
# Throughput of a 1080p PSNR run that writes its visualization to an uncompressed AVI file against the same run
# without visualization, as frames per second for both and their ratio, from runs interleaved in one session.
#   bench/compare_visualization.sh     environment: FRAMES (default 60), RUNS (default 5), CLI
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${FRAMES:-60}
runs=${RUNS:-5}
cli=${CLI:-build/release/bin/vidmetra-cli}
size=1920x1080
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. bench/interleaved_runs.sh
write_test_clips "$size" "$frames"

run=("$cli" -q --metric psnr --component Y --size "$size" --format iyuv "$work/original.yuv" "$work/processed.yuv")
ours=("${run[@]}" --visualize "$work" --caption-frame-number --caption-values)
theirs=("${run[@]}")
our_name="with visualization"
their_name="without"

compare_runs "psnr, 1920x1080 4:2:0, visualization to uncompressed AVI" "$frames"
ls -l "$work"/*.avi | awk '{ printf "  visualization file %.0f MiB\n", $5 / 1048576 }'
