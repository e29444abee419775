#!/usr/bin/env bash
# Installs the Debian 12 packages that vidmetra needs to build, test and run.
# Idempotent: only missing packages are installed, after a single `apt-get update`.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config time python3
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  ffmpeg libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
  libcli11-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  octave liboctave-dev
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev fonts-noto-cjk
  xvfb x11-utils xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    exec sudo "$0" "$@"
  fi
  echo "install-deps.sh: missing packages (${missing[*]}) and not running as root" >&2
  exit 1
fi

echo "install-deps.sh: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
