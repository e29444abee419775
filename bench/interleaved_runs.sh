# Sourced by the comparison scripts: runs our command and FFmpeg's alternately and prints the medians of wall
# time and peak memory as ratios (ours / FFmpeg's). Expects the arrays `ours` and `theirs`, `runs`, and a
# scratch folder `work`; `our_name` labels our side (default vidmetra-cli), `their_name` the other (default ffmpeg).

# Prints "seconds kilobytes" of one run.
measure() { /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1; cat "$work/time"; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# compare_runs "title" frames
compare_runs() {
  "${ours[@]}" >/dev/null && "${theirs[@]}"  # warm the page cache
  : >"$work/ours"
  : >"$work/theirs"
  for _ in $(seq "$runs"); do
    measure "${ours[@]}" >>"$work/ours"
    measure "${theirs[@]}" >>"$work/theirs"
  done
  local our_time their_time our_memory their_memory
  our_time=$(cut -d' ' -f1 "$work/ours" | median)
  their_time=$(cut -d' ' -f1 "$work/theirs" | median)
  our_memory=$(cut -d' ' -f2 "$work/ours" | median)
  their_memory=$(cut -d' ' -f2 "$work/theirs" | median)
  awk -v title="$1" -v f="$2" -v r="$runs" -v ot="$our_time" -v tt="$their_time" -v om="$our_memory" \
      -v tm="$their_memory" -v us="${our_name:-vidmetra-cli}" -v them="${their_name:-ffmpeg}" 'BEGIN {
    printf "%s, %d frames, median of %d interleaved runs\n", title, f, r
    printf "  wall time   %s %.2f s (%.1f fps)   %s %.2f s (%.1f fps)   ratio %.2f\n", us, ot, f / ot, them, tt, f / tt, ot / tt
    printf "  peak memory %s %d MiB   %s %d MiB   ratio %.2f\n", us, om / 1024, them, tm / 1024, om / tm
  }'
}

# write_test_clips size frames: FFmpeg's test pattern and a noisy copy of it as raw 4:2:0 files,
# $work/original.yuv and $work/processed.yuv.
write_test_clips() {
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$1:rate=25" -frames:v "$2" -pix_fmt yuv420p \
    -f rawvideo "$work/original.yuv"
  ffmpeg -loglevel error -y -f rawvideo -pix_fmt yuv420p -s "$1" -i "$work/original.yuv" -vf noise=alls=10:allf=t \
    -f rawvideo "$work/processed.yuv"
}

# Several timed commands in turns: `add KEY COMMAND...` registers one, `run_added` runs each once (page cache) and
# then $runs rounds of all of them, gathering "seconds kilobytes" lines in $work/KEY; `seconds KEY` is the median.
commands=()
keys=()
add() { keys+=("$1"); shift; commands+=("$(printf '%q ' "$@")"); }
run_added() {
  for i in "${!commands[@]}"; do eval "${commands[$i]}" >/dev/null 2>&1; : >"$work/${keys[$i]}"; done
  for _ in $(seq "$runs"); do
    for i in "${!commands[@]}"; do eval "measure ${commands[$i]}" >>"$work/${keys[$i]}"; done
  done
}
seconds() { cut -d' ' -f1 "$work/$1" | median; }
