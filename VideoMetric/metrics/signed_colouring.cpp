#include "vidmetra/signed_colouring.h"

namespace vidmetra {

Bgr SignedDifferenceColour(float difference) {
  const float scaled = 3.0f * difference;
  int level = 0;
  if (scaled >= 255.0f) {
    level = 255;
  } else if (scaled <= -255.0f) {
    level = -255;
  } else if (scaled == scaled) {
    level = static_cast<int>(scaled);
  }
  if (level > 0) return {0, 0, static_cast<uint8_t>(level)};
  return {0, static_cast<uint8_t>(-level), 0};
}

void RenderSignedDifferenceMap(const float* map, VideoFrame& target) {
  RenderMap(map, target, SignedDifferenceColour);
}

}  // namespace vidmetra
