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

. bench/interleaved_runs.sh

"${ours[@]}" && "${theirs[@]}"  # warm the page cache
for f in ours theirs; do
  ffprobe -v error -select_streams v:0 -count_packets \
    -show_entries stream=codec_name,pix_fmt,nb_read_packets -of csv=p=0 "$work/$f.avi" | sed "s/^/  $f: /"
done
for _ in $(seq "$runs"); do
  measure "${ours[@]}" >>"$work/ours"
  measure "${theirs[@]}" >>"$work/theirs"
done

our_time=$(cut -d' ' -f1 "$work/ours" | median)
their_time=$(cut -d' ' -f1 "$work/theirs" | median)
our_memory=$(cut -d' ' -f2 "$work/ours" | median)
their_memory=$(cut -d' ' -f2 "$work/theirs" | median)
awk -v c="$fourcc" -v f="$frames" -v r="$runs" -v ot="$our_time" -v tt="$their_time" -v om="$our_memory" \
    -v tm="$their_memory" 'BEGIN {
  printf "writing %s, %d frames 1920x1080 RGB, median of %d interleaved runs\n", c, f, r
  printf "  wall time   AviWriter %.2f s (%.1f fps)   ffmpeg %.2f s (%.1f fps)   ratio %.2f\n", ot, f / ot, tt, f / tt, ot / tt
  printf "  peak memory AviWriter %d MiB   ffmpeg %d MiB   ratio %.2f\n", om / 1024, tm / 1024, om / tm
}'
