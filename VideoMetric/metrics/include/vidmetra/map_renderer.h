#pragma once
// The walk shared by every visualization: map value k (row-major) becomes the pixel of stored row k / width of
// an RGB24 target, whatever the target's row order.
#include <cstdint>

#include "vidmetra/video_frame.h"

namespace vidmetra {

struct Bgr {
  uint8_t b, g, r;
};

template <typename ToPixel>
void RenderMap(const float* map, VideoFrame& target, ToPixel&& to_pixel) {
  const PlaneLayout plane = target.Plane(0);
  for (int y = 0; y < plane.height; ++y) {
    uint8_t* pixel = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride;
    for (int x = 0; x < plane.width; ++x, pixel += 3) {
      const Bgr colour = to_pixel(*map++);
      pixel[0] = colour.b;
      pixel[1] = colour.g;
      pixel[2] = colour.r;
    }
  }
}

// Truncates toward zero and keeps the low 8 bits, so 300.7 is 44 and -1.5 is 255. Values no integer can hold
// (NaN, infinities) are black rather than undefined.
inline uint8_t GreyLevel(float value) {
  if (!(value > -9.2e18f && value < 9.2e18f)) return 0;
  return static_cast<uint8_t>(static_cast<int64_t>(value) & 0xFF);
}

inline void RenderGreyMap(const float* map, VideoFrame& target) {
  RenderMap(map, target, [](float value) {
    const uint8_t grey = GreyLevel(value);
    return Bgr{grey, grey, grey};
  });
}

}  // namespace vidmetra
