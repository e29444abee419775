#!/usr/bin/env bash
# Every built-in metric on Y and PSNR on each kind of colour component, through vidmetra-cli on a 1080p 4:2:0
# test pattern against its H.264 round trip (raw files from the page cache), with the read floor (`cat` of both
# files) and FFmpeg's ssim filter on the same pair. All commands run interleaved, so the ratios come from one
# session on a shared machine; the single-input metrics measure each file alone (twice the frames).
#   bench/metric_table.sh     environment: FRAMES (default 120), RUNS (default 5), CLI, BEFORE (a second
#                             vidmetra-cli, e.g. an older build, timed in the same runs)
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${FRAMES:-120}
runs=${RUNS:-5}
cli=${CLI:-build/release/bin/vidmetra-cli}
before=${BEFORE:-}
size=1920x1080
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source bench/interleaved_runs.sh

ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$size:rate=25" -frames:v "$frames" -pix_fmt yuv420p \
  -f rawvideo "$work/original.yuv"
ffmpeg -loglevel error -y -f rawvideo -pix_fmt yuv420p -s "$size" -i "$work/original.yuv" -c:v libx264 \
  -preset fast -crf 23 "$work/encoded.mp4"
ffmpeg -loglevel error -y -i "$work/encoded.mp4" -f rawvideo -pix_fmt yuv420p "$work/processed.yuv"
pair=("$work/original.yuv" "$work/processed.yuv")

# label, frames per run, metric, component
cases=(
  "psnr Y|$frames|psnr|Y" "psnr U|$frames|psnr|U" "psnr V|$frames|psnr|V" "psnr R|$frames|psnr|R"
  "psnr G|$frames|psnr|G" "psnr B|$frames|psnr|B" "psnr L|$frames|psnr|L" "mse Y|$frames|mse|Y"
  "msad Y|$frames|msad|Y" "delta Y|$frames|delta|Y" "ssim Y|$frames|ssim|Y" "vqm Y|$frames|vqm|Y"
  "blurring Y (each file)|$((2 * frames))|blurring_measure|Y"
  "blocking Y (each file)|$((2 * frames))|blocking_measure|Y"
)
raw="-f rawvideo -pix_fmt yuv420p -s $size"
ffmpeg_ssim=(ffmpeg -loglevel error -nostdin $raw -i "${pair[1]}" $raw -i "${pair[0]}" -lavfi "[0:v][1:v]ssim" -f null -)

add floor cat "${pair[@]}"
add ffmpeg_ssim "${ffmpeg_ssim[@]}"
for entry in "${cases[@]}"; do
  IFS='|' read -r label count metric component <<<"$entry"
  add "after_$metric$component" "$cli" -q --metric "$metric" --component "$component" --size "$size" --format iyuv "${pair[@]}"
  [ -n "$before" ] && add "before_$metric$component" "$before" -q --metric "$metric" --component "$component" \
    --size "$size" --format iyuv "${pair[@]}"
done

run_added
mebibytes() { cut -d' ' -f2 "$work/$1" | median | awk '{ printf "%d", $1 / 1024 }'; }

echo "1920x1080 4:2:0, $frames frame pairs, median of $runs interleaved runs"
echo "read floor (cat of both files): $(seconds floor) s; FFmpeg ssim filter: $(seconds ffmpeg_ssim) s"
if [ -n "$before" ]; then
  echo "| run | before wall | before frames/s | after wall | after frames/s | after / before | after: ratio to psnr Y | peak MiB |"
  echo "|---|---|---|---|---|---|---|---|"
else
  echo "| run | wall | frames/s | ratio to psnr Y | peak MiB |"
  echo "|---|---|---|---|---|"
fi
psnr_y=$(seconds after_psnrY)
for entry in "${cases[@]}"; do
  IFS='|' read -r label count metric component <<<"$entry"
  after=$(seconds "after_$metric$component")
  memory=$(mebibytes "after_$metric$component")
  if [ -n "$before" ]; then
    old=$(seconds "before_$metric$component")
    awk -v l="$label" -v n="$count" -v a="$after" -v b="$old" -v y="$psnr_y" -v m="$memory" 'BEGIN {
      printf "| %s | %.2f s | %.0f | %.2f s | %.0f | %.2f | %.2f | %s |\n", l, b, n / b, a, n / a, a / b, a / y, m }'
  else
    awk -v l="$label" -v n="$count" -v a="$after" -v y="$psnr_y" -v m="$memory" 'BEGIN {
      printf "| %s | %.2f s | %.0f | %.2f | %s |\n", l, a, n / a, a / y, m }'
  fi
done
awk -v a="$(seconds after_ssimY)" -v f="$(seconds ffmpeg_ssim)" 'BEGIN { printf "ssim Y / FFmpeg ssim: %.2f\n", a / f }'
[ -n "$before" ] && awk -v a="$(seconds before_ssimY)" -v f="$(seconds ffmpeg_ssim)" \
  'BEGIN { printf "before: ssim Y / FFmpeg ssim: %.2f\n", a / f }'
exit 0
