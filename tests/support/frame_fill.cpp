#include "support/frame_fill.h"

#include <random>

namespace vidmetra::testing {

void FillRandom(VideoFrame& frame, uint32_t seed) {
  std::mt19937 random(seed);
  for (int k = 0; k < frame.PlaneCount(); ++k) {
    const PlaneLayout plane = frame.Plane(k);
    for (int y = 0; y < plane.height; ++y) {
      uint8_t* row = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride;
      for (int i = 0; i < plane.width * plane.unit; ++i) row[i] = static_cast<uint8_t>(random() & 0xFF);
    }
  }
  frame.FillBorder();
}

void SetBgr(VideoFrame& frame, int x, int y, uint8_t b, uint8_t g, uint8_t r) {
  const PlaneLayout plane = frame.Plane(0);
  uint8_t* p = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride + static_cast<ptrdiff_t>(x) * plane.unit;
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

uint8_t SampleAt(const VideoFrame& frame, int plane, int x, int y, int byte) {
  const PlaneLayout layout = frame.Plane(plane);
  return layout.origin[static_cast<ptrdiff_t>(y) * layout.stride + static_cast<ptrdiff_t>(x) * layout.unit + byte];
}

}  // namespace vidmetra::testing
