#!/usr/bin/env bash
# Several metrics in one pass: `--metric psnr:Y,psnr:U,psnr:V,ssim:Y,vqm:Y` on 1080p 4:2:0 clips against the five
# metrics run one after the other, and against one FFmpeg filter graph that splits both inputs into `psnr` and
# `ssim`. Reported as ratios of the medians of runs interleaved in one session. The raw pair is always measured;
# the H.264 MP4 row (a raw original against an MP4 encode of it) only when this build reads MP4 files.
#   bench/compare_ffmpeg_multi.sh     environment: FRAMES (default 60), RUNS (default 3), CLI
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${FRAMES:-60}
runs=${RUNS:-3}
cli=${CLI:-build/release/bin/vidmetra-cli}
size=1920x1080
metrics=(psnr:Y psnr:U psnr:V ssim:Y vqm:Y)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source bench/interleaved_runs.sh  # measure, median

raw="-f rawvideo -pix_fmt yuv420p -s $size"
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$size:rate=25" -frames:v "$frames" -pix_fmt yuv420p \
  -f rawvideo "$work/original.yuv"
ffmpeg -loglevel error -y $raw -i "$work/original.yuv" -vf noise=alls=10:allf=t -f rawvideo "$work/processed.yuv"

# Median wall time of each of the three commands (one, five, ffmpeg), run in turn `runs` times.
three_way() {
  local kind
  for kind in one five ffmpeg; do : >"$work/$kind"; done
  "${one[@]}" >/dev/null  # warm the page cache
  for _ in $(seq "$runs"); do
    measure "${one[@]}" | cut -d' ' -f1 >>"$work/one"
    measure bash -c "$five" | cut -d' ' -f1 >>"$work/five"
    measure "${theirs[@]}" | cut -d' ' -f1 >>"$work/ffmpeg"
  done
  for kind in one five ffmpeg; do median <"$work/$kind"; done | paste -sd' '
}

# row "label" processed-file processed-format-options
row() {
  local label=$1 processed=$2 processed_input=$3
  local list
  list=$(IFS=,; echo "${metrics[*]}")
  one=("$cli" -q --metric "$list" --size "$size" --format iyuv "$work/original.yuv" "$processed")
  five=""
  for metric in "${metrics[@]}"; do
    five+="$cli -q --metric $metric --size $size --format iyuv $work/original.yuv $processed >/dev/null; "
  done
  theirs=(ffmpeg -loglevel error -nostdin $processed_input -i "$processed" $raw -i "$work/original.yuv"
          -lavfi "[0:v]split[p0][p1];[1:v]split[o0][o1];[p0][o0]psnr[psnr];[p1][o1]ssim[ssim]"
          -map "[psnr]" -f null - -map "[ssim]" -f null -)
  read -r t_one t_five t_ffmpeg < <(three_way)
  awk -v l="$label" -v a="$t_one" -v b="$t_five" -v c="$t_ffmpeg" -v f="$frames" 'BEGIN {
    printf "| %-22s | %6.2f s (%5.1f fps) | %6.2f s | %6.2f s | %5.2f | %5.2f |\n", l, a, f / a, b, c, a / b, a / c
  }'
}

echo "${metrics[*]}, 1920x1080 4:2:0, $frames frames, median of $runs interleaved runs, $(nproc) cores"
echo "| input                  | one pass             | five runs | ffmpeg   | one/five | one/ffmpeg |"
echo "|------------------------|----------------------|-----------|----------|----------|------------|"
row "raw YUV pair" "$work/processed.yuv" "$raw"

ffmpeg -loglevel error -y $raw -i "$work/processed.yuv" -c:v libx264 -preset veryfast -crf 23 "$work/processed.mp4"
# A build without an MP4 reader takes the file for raw bytes and measures no frame of it.
if "$cli" -q --metric psnr --size "$size" --format iyuv "$work/original.yuv" "$work/processed.mp4" 2>/dev/null |
    grep -q " over $frames frames"; then
  row "raw vs H.264 MP4" "$work/processed.mp4" ""
else
  echo "(H.264 MP4 row skipped: this build of vidmetra-cli does not read MP4 files)"
fi
