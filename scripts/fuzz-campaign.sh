#!/usr/bin/env bash
# A fuzzing campaign outside CI. Each named target (default: every target of the fuzz preset) runs alone until it
# has made 10 million executions or spent SECONDS (default 3600), whichever comes first, on a scratch corpus that
# starts from its seeds and its kept regressions. Inputs that crash land in build/fuzz/campaign/<target>/; copy
# each into fuzz/regressions/<target>/ once it is fixed. Prints one line per target: executions, edges covered
# (libFuzzer's "cov"), crashes found and seconds spent.
# Usage: scripts/fuzz-campaign.sh [-t SECONDS] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=3600
if [ "${1:-}" = -t ]; then seconds=$2; shift 2; fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(cd build/fuzz/bin && ls ./*_fuzzer | sed 's|^\./||')
fi

for target in "${targets[@]}"; do
  ctest --preset fuzz -R "^${target}_(corpus|scratch)\$" >/dev/null
  campaign=build/fuzz/campaign/$target
  rm -rf "$campaign"
  mkdir -p "$campaign/corpus"
  inputs=("build/fuzz/fuzz/${target}_corpus")
  [ -d "fuzz/regressions/$target" ] && inputs+=("fuzz/regressions/$target")
  dictionary=()
  [ -f "fuzz/$target.dict" ] && dictionary=("-dict=fuzz/$target.dict")
  start=$(date +%s)
  status=0
  "build/fuzz/bin/$target" -max_total_time="$seconds" -runs=10000000 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "${dictionary[@]}" -artifact_prefix="$campaign/" "$campaign/corpus" "${inputs[@]}" \
    >"$campaign/log" 2>&1 || status=$?
  spent=$(( $(date +%s) - start ))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$campaign/log" | tail -1)
  edges=$(grep -o 'cov: [0-9]*' "$campaign/log" | tail -1 | cut -d' ' -f2)
  crashes=$(find "$campaign" -maxdepth 1 -name 'crash-*' -o -maxdepth 1 -name 'leak-*' -o -maxdepth 1 -name 'timeout-*' \
              -o -maxdepth 1 -name 'oom-*' | wc -l)
  echo "$target executions=${executions:-?} edges=${edges:-?} findings=$crashes seconds=$spent exit=$status"
done
