#include "vidmetra/colour_component.h"

namespace vidmetra {

const char* ColourComponentName(int component) {
  static const char* const kNames[] = {"YYUV", "UYUV", "VYUV", "LLUV", "RRGB", "GRGB", "BRGB"};
  if (component < kComponentY || component > kComponentB) return "";
  return kNames[component];
}

bool IsYuvComponent(int component) { return component >= kComponentY && component <= kComponentV; }
bool IsLuvComponent(int component) { return component == kComponentL; }
bool IsRgbComponent(int component) { return component >= kComponentR && component <= kComponentB; }

}  // namespace vidmetra
