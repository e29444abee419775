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
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$size:rate=25" -frames:v "$frames" -pix_fmt yuv420p \
  -f rawvideo "$work/original.yuv"
ffmpeg -loglevel error -y $raw -i "$work/original.yuv" -vf noise=alls=10:allf=t -f rawvideo "$work/processed.yuv"

ours=("$cli" -q --metric "$metric" --component Y --size "$size" --format iyuv "$work/original.yuv" "$work/processed.yuv")
theirs=(ffmpeg -loglevel error -nostdin $raw -i "$work/processed.yuv" $raw -i "$work/original.yuv"
        -lavfi "[0:v][1:v]$metric" -f null -)

# Prints "seconds kilobytes" of one run.
measure() { /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1; cat "$work/time"; }

"${ours[@]}" >/dev/null && "${theirs[@]}"  # warm the page cache
for _ in $(seq "$runs"); do
  measure "${ours[@]}" >>"$work/ours"
  measure "${theirs[@]}" >>"$work/theirs"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
our_time=$(cut -d' ' -f1 "$work/ours" | median)
their_time=$(cut -d' ' -f1 "$work/theirs" | median)
our_memory=$(cut -d' ' -f2 "$work/ours" | median)
their_memory=$(cut -d' ' -f2 "$work/theirs" | median)
awk -v m="$metric" -v f="$frames" -v r="$runs" -v ot="$our_time" -v tt="$their_time" -v om="$our_memory" \
    -v tm="$their_memory" 'BEGIN {
  printf "%s, %d frames 1920x1080 4:2:0, median of %d interleaved runs\n", m, f, r
  printf "  wall time   vidmetra-cli %.2f s (%.1f fps)   ffmpeg %.2f s (%.1f fps)   ratio %.2f\n", ot, f / ot, tt, f / tt, ot / tt
  printf "  peak memory vidmetra-cli %d MiB   ffmpeg %d MiB   ratio %.2f\n", om / 1024, tm / 1024, om / tm
}'
