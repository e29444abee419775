#include "vidmetra/signed_colouring.h"

namespace vidmetra {

Bgr SignedLevelColour(int level) {
  if (level > 0) return {0, 0, static_cast<uint8_t>(level)};
  return {0, static_cast<uint8_t>(-level), 0};
}

Bgr SignedDifferenceColour(float difference) { return SignedLevelColour(SignedLevel(difference)); }

void RenderSignedDifferenceMap(const float* map, VideoFrame& target) {
  static const auto colours = PackColours<511>([](int index) { return SignedLevelColour(index - 255); });
  RenderMapByTable(map, target, colours.data(), [](float difference) { return SignedLevel(difference) + 255; });
}

}  // namespace vidmetra
