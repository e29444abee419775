#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero when anything fails.
# Usage: scripts/test.sh [release|debug]   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}

bash scripts/install-deps.sh

# AviSynth+ for the script tests: built once per machine from the source archive in shared/third_party, found in
# VIDMETRA_THIRD_PARTY or in the nearest folder above the checkout that has it. Without it those tests skip.
find_third_party() {
  if [ -n "${VIDMETRA_THIRD_PARTY:-}" ]; then echo "$VIDMETRA_THIRD_PARTY"; return; fi
  local dir=$PWD
  while [ "$dir" != / ]; do
    dir=$(dirname "$dir")
    if [ -f "$dir/shared/third_party/build-avisynthplus.sh" ]; then echo "$dir/shared/third_party"; return; fi
  done
}
third_party=$(find_third_party)
if [ -n "$third_party" ] && [ -f "$third_party/build-avisynthplus.sh" ]; then
  if avisynth_prefix=$(bash "$third_party/build-avisynthplus.sh"); then
    export VIDMETRA_AVISYNTH_LIBRARY="$avisynth_prefix/lib/libavisynth.so"
  else
    echo "test.sh: AviSynth+ did not build; the script tests will skip" >&2
  fi
else
  echo "test.sh: no shared/third_party with AviSynth+ found; the script tests will skip" >&2
fi

cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"

# The fuzz targets build with clang; their bounded campaign runs only with the default (release)
# pass so that CI time stays bounded.
if [ "$preset" = release ] && command -v clang++ >/dev/null 2>&1; then
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$(nproc)"
  ctest --preset fuzz -j "$(nproc)"
fi
