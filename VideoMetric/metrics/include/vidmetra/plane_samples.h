#pragma once
// One input's plane as the preparation left it: floats, or bytes where it kept 8-bit samples so
// (PlaneFrame::ComponentBytes). A luma byte widens to its float exactly, so formulas written once over either
// sample type give the same values; chroma bytes are their floats plus 128, which suits only formulas of
// differences within the plane. sample_pair.h hands two inputs.
#include <cstdint>

#include "vidmetra/plane_frame.h"

namespace vidmetra {

// Calls `visit(samples)` with the frame's samples of `component`, as `const uint8_t*` or `const float*`, and
// returns what it returns.
template <typename Visit>
decltype(auto) VisitSamples(const PlaneFrame& frame, int component, Visit&& visit) {
  if (const uint8_t* bytes = frame.ComponentBytes(component); bytes != nullptr) return visit(bytes);
  return visit(frame.ComponentPlane(component));
}

}  // namespace vidmetra
