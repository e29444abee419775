#pragma once
// A two-input metric's planes as the preparation left them: floats, or bytes where it kept 8-bit samples so
// (PlaneFrame::ComponentBytes). The formulas are written once over either sample type: a byte widens to its
// float exactly, so both give the same values.
#include <cstdint>
#include <type_traits>

#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/metric.h"

namespace vidmetra {

template <typename A, typename B>
inline constexpr bool kBothBytes = std::is_same_v<A, uint8_t> && std::is_same_v<B, uint8_t>;
template <typename A, typename B>
inline constexpr bool kBothFloats = std::is_same_v<A, float> && std::is_same_v<B, float>;

// Calls `visit(a, b)` with the first two inputs' samples of `component`, each as `const uint8_t*` or
// `const float*`, and returns what it returns.
template <typename Visit>
decltype(auto) VisitSamplePair(FrameList frames, int component, Visit&& visit) {
  const uint8_t* a_bytes = frames[0]->ComponentBytes(component);
  const uint8_t* b_bytes = frames[1]->ComponentBytes(component);
  const float* a = frames[0]->ComponentPlane(component);
  const float* b = frames[1]->ComponentPlane(component);
  if (a_bytes != nullptr && b_bytes != nullptr) return visit(a_bytes, b_bytes);
  if (a_bytes != nullptr) return visit(a_bytes, b);
  if (b_bytes != nullptr) return visit(a, b_bytes);
  return visit(a, b);
}

// float(Σ / divisor) of a sum over `count` sample pairs: bytes through the integer `byte_sum`, floats through the
// certified `float_lanes`, a pair of mixed types (an input whose frame came in another colour space) through the
// `reference`, called as reference(a, b).
template <typename A, typename B, typename ByteSum, typename FloatLanes, typename Reference>
float SumQuotient(const A* a, const B* b, size_t count, double divisor, ByteSum byte_sum, FloatLanes float_lanes,
                  Reference reference) {
  if constexpr (kBothBytes<A, B>) {
    return static_cast<float>(static_cast<double>(byte_sum(a, b, count)) / divisor);
  } else if constexpr (kBothFloats<A, B>) {
    return QuotientOfSum(count, divisor, [&] { return float_lanes(a, b, count); }, [&] { return reference(a, b); });
  } else {
    return static_cast<float>(reference(a, b) / divisor);
  }
}

}  // namespace vidmetra
