#!/usr/bin/env bash
# Throughput of a 1080p run that writes its visualization to an uncompressed AVI file, for every metric with a map
# of its own colouring (PSNR, MSE, MSAD, Delta; SSIM's grey map stands for the grey ones), against the same run
# without visualization and against FFmpeg writing the same uncompressed AVI (the two clips' difference blend as
# 24-bit pictures), as frames per second and ratios from runs interleaved in one session.
#   bench/compare_visualization.sh     environment: FRAMES (default 60), RUNS (default 5), CLI, METRICS (default
#                                      "psnr mse msad delta ssim"), BEFORE (a second vidmetra-cli, e.g. an
#                                      older build, timed in the same runs)
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${FRAMES:-60}
runs=${RUNS:-5}
cli=${CLI:-build/release/bin/vidmetra-cli}
before=${BEFORE:-}
metrics=${METRICS:-psnr mse msad delta ssim}
size=1920x1080
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. bench/interleaved_runs.sh
write_test_clips "$size" "$frames"
mkdir "$work/out"

raw="-f rawvideo -pix_fmt yuv420p -s $size"
pair=("$work/original.yuv" "$work/processed.yuv")
visualize=(--visualize "$work/out" --caption-frame-number --caption-values)

add ffmpeg ffmpeg -loglevel error -nostdin -y $raw -i "${pair[1]}" $raw -i "${pair[0]}" \
  -lavfi "[0:v][1:v]blend=all_mode=difference,format=bgr24" -c:v rawvideo -f avi "$work/out/ffmpeg.avi"
for metric in $metrics; do
  run=(-q --metric "$metric" --component Y --size "$size" --format iyuv "${pair[@]}")
  add "plain_$metric" "$cli" "${run[@]}"
  add "visual_$metric" "$cli" "${run[@]}" "${visualize[@]}"
  [ -n "$before" ] && add "before_$metric" "$before" "${run[@]}" "${visualize[@]}"
done

run_added

ffmpeg_time=$(seconds ffmpeg)
echo "1920x1080 4:2:0, $frames frame pairs, visualization to uncompressed AVI with caption, median of $runs interleaved runs"
awk -v f="$frames" -v t="$ffmpeg_time" 'BEGIN { printf "FFmpeg writing the difference blend as uncompressed AVI: %.2f s (%.1f fps)\n", t, f / t }'
if [ -n "$before" ]; then
  echo "| metric | without | with | with / without | with / FFmpeg | before: with | after / before |"
  echo "|---|---|---|---|---|---|---|"
else
  echo "| metric | without | with | with / without | with / FFmpeg |"
  echo "|---|---|---|---|---|"
fi
for metric in $metrics; do
  plain=$(seconds "plain_$metric")
  visual=$(seconds "visual_$metric")
  old=0
  [ -n "$before" ] && old=$(seconds "before_$metric")
  awk -v m="$metric" -v f="$frames" -v p="$plain" -v v="$visual" -v t="$ffmpeg_time" -v b="$old" 'BEGIN {
    printf "| %s | %.2f s (%.1f fps) | %.2f s (%.1f fps) | %.2f | %.2f |", m, p, f / p, v, f / v, v / p, v / t
    if (b > 0) printf " %.2f s (%.1f fps) | %.2f |", b, f / b, v / b
    printf "\n"
  }'
done
ls -l "$work"/out/*psnr*.avi | awk '{ printf "  PSNR visualization file %.0f MiB\n", $5 / 1048576 }'
