#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero when anything fails.
# Usage: scripts/test.sh [release|debug]   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"

# The fuzz targets build with clang; their bounded campaign runs only with the default (release)
# pass so that CI time stays bounded.
if [ "$preset" = release ] && command -v clang++ >/dev/null 2>&1; then
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$(nproc)"
  ctest --preset fuzz
fi
