#pragma once
// A two-input metric's planes as the preparation left them: floats, or bytes where it kept 8-bit samples so
// (PlaneFrame::ComponentBytes). The formulas are written once over any of the sample sources below: each gives
// the float of the plane it stands for, exactly.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/metric.h"

namespace vidmetra {

// Bytes standing for floats `offset` below them (128 for chroma), for an input whose partner came as floats.
struct OffsetBytes {
  const uint8_t* bytes;
  float offset;
  float operator[](size_t i) const { return static_cast<float>(bytes[i]) - offset; }
};

template <typename A, typename B>
inline constexpr bool kBothBytes = std::is_same_v<A, const uint8_t*> && std::is_same_v<B, const uint8_t*>;
template <typename A, typename B>
inline constexpr bool kBothFloats = std::is_same_v<A, const float*> && std::is_same_v<B, const float*>;

// Calls `visit(a, b)` with the first two inputs' samples of `component` and returns what it returns. Both
// inputs as bytes come as `const uint8_t*`: only metrics that see nothing but differences of samples are handed
// chroma bytes, in which the offsets cancel. One input as bytes comes as OffsetBytes; floats as `const float*`.
template <typename Visit>
decltype(auto) VisitSamplePair(FrameList frames, int component, Visit&& visit) {
  const uint8_t* a_bytes = frames[0]->ComponentBytes(component);
  const uint8_t* b_bytes = frames[1]->ComponentBytes(component);
  const float* a = frames[0]->ComponentPlane(component);
  const float* b = frames[1]->ComponentPlane(component);
  const float offset = PlaneFrame::ByteOffset(component);
  if (a_bytes != nullptr && b_bytes != nullptr) return visit(a_bytes, b_bytes);
  if (a_bytes != nullptr) return visit(OffsetBytes{a_bytes, offset}, b);
  if (b_bytes != nullptr) return visit(a, OffsetBytes{b_bytes, offset});
  return visit(a, b);
}

// float(Σ / divisor) of a sum over `count` sample pairs: bytes through the integer `byte_sum`, floats through the
// certified `float_lanes`, a mixed pair through the `reference`, called as reference(a, b).
template <typename A, typename B, typename ByteSum, typename FloatLanes, typename Reference>
float SumQuotient(A a, B b, size_t count, double divisor, ByteSum byte_sum, FloatLanes float_lanes,
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
