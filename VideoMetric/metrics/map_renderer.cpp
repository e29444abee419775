#include "vidmetra/map_renderer.h"

namespace vidmetra {

const std::array<PackedColour, 256>& GreyColours() {
  static const auto colours = PackColours<256>([](int level) {
    const auto grey = static_cast<uint8_t>(level);
    return Bgr{grey, grey, grey};
  });
  return colours;
}

void RenderGreyMap(const float* map, VideoFrame& target) {
  RenderMapByTable(map, target, GreyColours().data(), [](float value) { return GreyLevel(value); });
}

}  // namespace vidmetra
