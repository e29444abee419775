#include "support/plane_frames.h"

namespace vidmetra::testing {

std::unique_ptr<PlaneFrame> MakePlanes(int width, int height, const std::function<float(int x, int y)>& value) {
  auto frame = std::make_unique<PlaneFrame>(width, height);
  for (int component = 0; component < 7; ++component) {
    float* plane = frame->ComponentPlane(component);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) plane[y * width + x] = value(x, y);
    }
  }
  return frame;
}

std::unique_ptr<PlaneFrame> MakeFlatPlanes(int width, int height, float value) {
  return MakePlanes(width, height, [value](int, int) { return value; });
}

}  // namespace vidmetra::testing
