#!/usr/bin/env bash
# On a fresh Debian 12 machine: installs what is missing, builds, makes a sample clip pair (an FFmpeg test
# pattern and its H.264-encoded-and-decoded version, as raw YV12) and measures PSNR on it with vidmetra-cli.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target vidmetra-cli max_difference

out=${DEMO_DIR:-build/demo}
mkdir -p "$out"
size=352x288
echo "Making the sample clips in $out ..."
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=$size:rate=25:duration=4" -pix_fmt yuv420p \
  -f rawvideo "$out/original.yuv"
ffmpeg -loglevel error -y -f rawvideo -pix_fmt yuv420p -s "$size" -r 25 -i "$out/original.yuv" \
  -c:v libx264 -crf 32 -preset veryfast "$out/encoded.mp4"
ffmpeg -loglevel error -y -i "$out/encoded.mp4" -pix_fmt yuv420p -f rawvideo "$out/encoded.yuv"

echo "Measuring PSNR of the Y component ..."
build/release/bin/vidmetra-cli --metric psnr --component Y --size "$size" --format iyuv \
  --csv "$out" --log "$out/log.txt" "$out/original.yuv" "$out/encoded.yuv"

echo
echo "Results:"
echo "  per-frame values: $(ls "$out"/*.csv)"
echo "  run log (UTF-16): $out/log.txt"
echo
echo "The desktop program measures the same clips with a window:"
echo "  cmake --build --preset release --target vidmetra && build/release/bin/vidmetra"
echo "  then choose $out/original.yuv and $out/encoded.yuv (352 x 288, IYUV (I420)), PSNR, and press \"Process\"."
