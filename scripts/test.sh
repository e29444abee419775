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
