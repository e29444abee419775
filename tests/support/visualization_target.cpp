#include "support/visualization_target.h"

namespace vidmetra::testing {

std::unique_ptr<VideoFrame> MakeTarget(int width, int height) {
  auto target = std::make_unique<VideoFrame>();
  if (!target->SetFormat(width, height, kRgb24, 0)) return nullptr;
  return target;
}

Bgr PixelAt(const VideoFrame& target, int x, int row) {
  const PlaneLayout plane = target.Plane(0);
  const uint8_t* pixel = plane.origin + static_cast<ptrdiff_t>(row) * plane.stride + 3 * x;
  return {pixel[0], pixel[1], pixel[2]};
}

bool SameColour(Bgr left, Bgr right) { return left.b == right.b && left.g == right.g && left.r == right.r; }

bool AllPixels(const VideoFrame& target, Bgr colour) {
  for (int row = 0; row < target.height(); ++row) {
    for (int x = 0; x < target.width(); ++x) {
      if (!SameColour(PixelAt(target, x, row), colour)) return false;
    }
  }
  return true;
}

}  // namespace vidmetra::testing
