#pragma once
// The walk shared by every visualization: map value k (row-major) becomes the pixel of stored row k / width of
// an RGB24 target, whatever the target's row order.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "vidmetra/video_frame.h"

namespace vidmetra {

struct Bgr {
  uint8_t b, g, r;
};

// The reference walk: one call of `to_pixel` per map value.
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

// A colour laid out for one four-byte store: blue, green, red and a byte that the next pixel overwrites.
struct PackedColour {
  uint8_t b, g, r, spare;
};

// The colours `colour(k)` for k = 0 … N − 1.
template <size_t N, typename Colour>
std::array<PackedColour, N> PackColours(Colour colour) {
  std::array<PackedColour, N> colours{};
  for (size_t k = 0; k < N; ++k) {
    const Bgr c = colour(static_cast<int>(k));
    colours[k] = {c.b, c.g, c.r, 0};
  }
  return colours;
}

// The walk of RenderMap for colourings that pick one of few colours: `to_index(value)` chooses colours[index].
// The indices of a stretch of the row come first, in a loop without branches that the compiler runs in vector
// lanes; then every pixel but the row's last is one four-byte store.
template <typename ToIndex>
void RenderMapByTable(const float* map, VideoFrame& target, const PackedColour* colours, ToIndex&& to_index) {
  constexpr int kStretch = 512;
  int32_t indices[kStretch];
  const PlaneLayout plane = target.Plane(0);
  for (int y = 0; y < plane.height; ++y) {
    uint8_t* pixel = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride;
    for (int x = 0; x < plane.width; x += kStretch) {
      const int count = std::min(kStretch, plane.width - x);
      for (int i = 0; i < count; ++i) indices[i] = to_index(map[i]);
      map += count;
      const int whole = x + count < plane.width ? count : count - 1;
      for (int i = 0; i < whole; ++i, pixel += 3) std::memcpy(pixel, &colours[indices[i]], 4);
      if (whole < count) std::memcpy(pixel, &colours[indices[whole]], 3);
    }
  }
}

// Truncates toward zero and keeps the low 8 bits, so 300.7 is 44 and -1.5 is 255. Values no integer can hold
// (NaN, infinities) are black rather than undefined. From 2^31 on every float is a multiple of 256, whose low
// bits are 0 anyway, so the 32-bit truncation of what lies below suffices; without branches for the vector lanes.
inline int GreyLevel(float value) {
  const float held = (value < 2147483648.0f && value > -2147483648.0f) ? value : 0.0f;
  return static_cast<int>(held) & 0xFF;
}

// The grey levels 0 … 255 as colours.
const std::array<PackedColour, 256>& GreyColours();

void RenderGreyMap(const float* map, VideoFrame& target);

}  // namespace vidmetra
