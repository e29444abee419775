#pragma once
// A two-input metric's planes as the preparation left them: floats, or bytes where it kept 8-bit samples so
// (PlaneFrame::ComponentBytes). The formulas are written once over any of the sample sources below: each gives
// the float of the plane it stands for, exactly.
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/metric.h"
#include "vidmetra/task_pool.h"

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

// Σ part(begin, end) over a split of [0, count) into a fixed number of parts, spread over `pool` and added in
// order: the same parts whatever the number of threads. Integer sums are exact in any split, and a lane sum's
// certificate holds for any order of adding its terms.
template <typename Part>
auto SumInParts(TaskPool* pool, size_t count, Part part) {
  constexpr int kParts = 4;
  std::array<decltype(part(size_t{0}, size_t{0})), kParts> sums{};
  RunParts(pool, kParts, [&](int index) {
    const auto at = static_cast<size_t>(index);
    sums[at] = part(count * at / kParts, count * (at + 1) / kParts);
  });
  auto total = sums[0];
  for (size_t i = 1; i < sums.size(); ++i) total = total + sums[i];
  return total;
}

// float(Σ / divisor) of a sum over `count` sample pairs: bytes through the integer `byte_sum`, floats through the
// certified `float_lanes` in parts over `pool` (four times the memory of bytes, worth a second thread), a mixed
// pair through the `reference`, called as reference(a, b).
template <typename A, typename B, typename ByteSum, typename FloatLanes, typename Reference>
float SumQuotient(A a, B b, size_t count, double divisor, ByteSum byte_sum, FloatLanes float_lanes,
                  Reference reference, TaskPool* pool) {
  if constexpr (kBothBytes<A, B>) {
    return static_cast<float>(static_cast<double>(byte_sum(a, b, count)) / divisor);
  } else if constexpr (kBothFloats<A, B>) {
    const auto lanes = [&] {
      return SumInParts(pool, count,
                        [&](size_t begin, size_t end) { return float_lanes(a + begin, b + begin, end - begin); });
    };
    return QuotientOfSum(count, divisor, lanes, [&] { return reference(a, b); });
  } else {
    return static_cast<float>(reference(a, b) / divisor);
  }
}

}  // namespace vidmetra
