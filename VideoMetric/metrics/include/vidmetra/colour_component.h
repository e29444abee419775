#pragma once
#include <cstdint>

namespace vidmetra {

// The plane a metric measures: its letter followed by the colour space it belongs to.
enum ColourComponent : int32_t {
  kComponentY = 0,
  kComponentU = 1,
  kComponentV = 2,
  kComponentL = 3,
  kComponentR = 4,
  kComponentG = 5,
  kComponentB = 6,
};

// "YYUV", "UYUV", "VYUV", "LLUV", "RRGB", "GRGB", "BRGB"; empty for any other code.
const char* ColourComponentName(int component);
// Every component, in the order the metrics that accept them all list them: Y, U, V, R, G, B, L.
inline constexpr int32_t kAllComponents[] = {kComponentY, kComponentU, kComponentV, kComponentR,
                                             kComponentG, kComponentB, kComponentL};
inline constexpr int32_t kLumaComponent[] = {kComponentY};
bool IsYuvComponent(int component);
bool IsLuvComponent(int component);
bool IsRgbComponent(int component);

}  // namespace vidmetra
