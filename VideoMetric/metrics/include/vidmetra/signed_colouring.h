#pragma once
// Colouring of a signed per-pixel difference (original minus processed): red where the original is larger,
// green where the processed picture is, 3 levels per unit.
#include "vidmetra/map_renderer.h"

namespace vidmetra {

// The level of a difference, −255 … 255 (written without branches, for the vector lanes of the table walk), and
// its colour.
inline int SignedLevel(float difference) {
  float scaled = 3.0f * difference;
  scaled = scaled >= 255.0f ? 255.0f : scaled;
  scaled = scaled <= -255.0f ? -255.0f : scaled;
  scaled = scaled == scaled ? scaled : 0.0f;  // NaN is black
  return static_cast<int>(scaled);
}
Bgr SignedLevelColour(int level);
Bgr SignedDifferenceColour(float difference);
void RenderSignedDifferenceMap(const float* map, VideoFrame& target);

}  // namespace vidmetra
