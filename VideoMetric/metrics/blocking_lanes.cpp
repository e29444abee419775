#include "vidmetra/blocking_lanes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "vidmetra/cpu_dispatch.h"
#include "vidmetra/float8_lanes.h"

namespace vidmetra {
namespace {

// Along-boundary variation on the samples next to the boundary, between neighbouring lines.
template <int kLines>
int AlongVariation(const BoundaryLines& l, int f) {
  if constexpr (kLines == 2) {
    return TruncateToInt(std::fabs(l.s0[f] - l.s0[f + 1])) + TruncateToInt(std::fabs(l.s1[f] - l.s1[f + 1]));
  } else {
    return (TruncateToInt(std::fabs(l.s0[f + 1] - l.s0[f + 2]) + std::fabs(l.s0[f] - l.s0[f + 1])) >> 1) +
           (TruncateToInt(std::fabs(l.s1[f + 1] - l.s1[f + 2]) + std::fabs(l.s1[f] - l.s1[f + 1])) >> 1);
  }
}

int Activity(const BoundaryLines& l, int k) { return std::abs(l.d0[k]) + std::abs(l.d2[k]); }

}  // namespace

void ReadAdjacentLinesScalar(const float* s0, ptrdiff_t across, int length, const BoundaryLines& lines) {
  for (int k = 0; k < length; ++k) ReadBoundaryLine(s0 + k, across, lines, k);
}

template <int kLines>
double EvaluateBoundaryPosition(const BoundaryLines& lines, int first, int edge_threshold, bool limited) {
  int excess = 0;
  int step = 0;
  int activity_sum = 0;
  for (int k = first; k < first + kLines; ++k) {
    excess += lines.d1[k] - ((lines.d0[k] + lines.d2[k]) >> 1);
    step += lines.d1[k];
    activity_sum += Activity(lines, k);
  }
  const double e = kLines == 2 ? std::abs(excess) * 0.5 : std::abs(excess) * (1.0 / 3.0);
  if (std::abs(step) / kLines > edge_threshold) return -1.0;
  const double e2 = e * 0.5;
  const int variation = AlongVariation<kLines>(lines, first);
  if (variation + activity_sum < kLines + 1) return 16.0 * TruncateToInt(e);
  double activity_terms = 0.0;
  for (int k = first; k < first + kLines; ++k) activity_terms += e2 / (Activity(lines, k) + 1);
  const double mean_activity_term = activity_terms * (kLines == 2 ? 0.5 : static_cast<double>(0.33333334f));
  const double result = e * (e2 / (variation + 1)) * mean_activity_term;
  return limited ? std::min(result, 255.0) : result;
}

template double EvaluateBoundaryPosition<2>(const BoundaryLines&, int, int, bool);
template double EvaluateBoundaryPosition<3>(const BoundaryLines&, int, int, bool);

namespace {

void EvaluateBoundaryScalarFrom(const BoundaryLines& lines, int from, int length, bool limit_inner, int edge_threshold,
                                int32_t* values) {
  for (int i = from; i < length; ++i) {
    const int phase = i % 8;
    const double result = phase == 0   ? EvaluateBoundaryPosition<2>(lines, i, edge_threshold, limit_inner)
                          : phase == 7 ? EvaluateBoundaryPosition<2>(lines, i - 1, edge_threshold, false)
                                       : EvaluateBoundaryPosition<3>(lines, i - 1, edge_threshold, limit_inner);
    values[i] = TruncateToInt(result);
  }
}

#if defined(VIDMETRA_X86_KERNELS)
// Written once on generic vectors of the eight positions of a block span and compiled for each instruction set
// in its own entry point. Lane p takes lines f(p) … f(p) + 2 of the span, f = 0, 0, 1, … 6; lanes 0 and 7 have
// two lines, the third line's terms masked to zero there.
#pragma GCC diagnostic ignored "-Wpsabi"
using lanes::Float8;
using lanes::Int8;
using lanes::Load;
using lanes::Store;
using Double8 = double __attribute__((vector_size(64)));
using Long8 = int64_t __attribute__((vector_size(64)));

template <typename V>
[[gnu::always_inline]] inline V FirstLine(V x) {
  return __builtin_shufflevector(x, x, 0, 0, 1, 2, 3, 4, 5, 6);
}
template <typename V>
[[gnu::always_inline]] inline V SecondLine(V x) {
  return __builtin_shufflevector(x, x, 1, 1, 2, 3, 4, 5, 6, 7);
}
template <typename V>
[[gnu::always_inline]] inline V ThirdLine(V x) {
  return __builtin_shufflevector(x, x, 2, 2, 3, 4, 5, 6, 7, 7);
}

[[gnu::always_inline]] inline Int8 Abs(Int8 x) {
  const Int8 sign = x >> 31;
  return (x ^ sign) - sign;
}
[[gnu::always_inline]] inline Float8 Abs(Float8 x) { return lanes::Absolute(x); }
[[gnu::always_inline]] inline bool AllSet(Int8 mask) {
  return (mask[0] & mask[1] & mask[2] & mask[3] & mask[4] & mask[5] & mask[6] & mask[7]) != 0;
}
[[gnu::always_inline]] inline Long8 Wide(Int8 mask) { return __builtin_convertvector(mask, Long8); }
[[gnu::always_inline]] inline Double8 ToDouble(Int8 x) { return __builtin_convertvector(x, Double8); }

// TruncateToInt on every lane.
[[gnu::always_inline]] inline Int8 Truncate(Float8 x) {
  const Float8 zero{};
  const Int8 in_range = (x > -2147483648.0f) & (x < 2147483648.0f);
  return __builtin_convertvector(in_range ? x : zero, Int8);
}
[[gnu::always_inline]] inline Int8 Truncate(Double8 x) {
  const Double8 zero{};
  const Long8 in_range = (x > -2147483648.0) & (x < 2147483648.0);
  return __builtin_convertvector(in_range ? x : zero, Int8);
}

struct SpanLines {
  Int8 d0, d1, d2;
  Float8 s0, s1;
};

template <typename V>
[[gnu::always_inline]] inline V PickLine(V x, int which) {
  return which == 0 ? FirstLine(x) : which == 1 ? SecondLine(x) : ThirdLine(x);
}

[[gnu::always_inline]] inline SpanLines Pick(const SpanLines& span, int which, Int8 keep) {
  return {PickLine(span.d0, which) & keep, PickLine(span.d1, which) & keep, PickLine(span.d2, which) & keep,
          PickLine(span.s0, which), PickLine(span.s1, which)};
}

[[gnu::always_inline]] inline Int8 Excess(const SpanLines& l) { return l.d1 - ((l.d0 + l.d2) >> 1); }
[[gnu::always_inline]] inline Int8 Activity8(const SpanLines& l) { return Abs(l.d0) + Abs(l.d2); }

[[gnu::always_inline]] inline void EvaluateSpan(const BoundaryLines& lines, int base, Long8 limited, int threshold,
                                                int32_t* values) {
  const Int8 three = {0, -1, -1, -1, -1, -1, -1, 0};
  const Int8 all = three | ~three;
  const SpanLines span{Load<Int8>(lines.d0 + base), Load<Int8>(lines.d1 + base), Load<Int8>(lines.d2 + base),
                       Load<Float8>(lines.s0 + base), Load<Float8>(lines.s1 + base)};
  const SpanLines a = Pick(span, 0, all), b = Pick(span, 1, all), c = Pick(span, 2, three);
  const Long8 three_wide = Wide(three);
  const Int8 excess = Excess(a) + Excess(b) + Excess(c);
  const Int8 step = Abs(a.d1 + b.d1 + c.d1);
  const Int8 activity_a = Activity8(a), activity_b = Activity8(b), activity_c = Activity8(c);
  const Int8 activity_sum = activity_a + activity_b + activity_c;
  const Int8 count = 2 - three;  // 2 or 3 lines
  const Double8 e_factor = three_wide ? Double8{} + 1.0 / 3.0 : Double8{} + 0.5;
  const Double8 e = ToDouble(Abs(excess)) * e_factor;
  // |sum of D1| / lines > threshold, in integers: the quotient exceeds it exactly when |sum| ≥ (threshold + 1)·lines.
  const Int8 edge = step > (threshold + 1) * count - 1;
  const Double8 e2 = e * 0.5;
  const Int8 variation_two = Truncate(Abs(a.s0 - b.s0)) + Truncate(Abs(a.s1 - b.s1));
  const Int8 variation_three = (Truncate(Abs(b.s0 - c.s0) + Abs(a.s0 - b.s0)) >> 1) +
                               (Truncate(Abs(b.s1 - c.s1) + Abs(a.s1 - b.s1)) >> 1);
  const Int8 variation = three ? variation_three : variation_two;
  const Int8 flat = variation + activity_sum < count + 1;
  const Double8 flat_result = 16.0 * ToDouble(Truncate(e));
  const Double8 zero{};
  const Int8 settled = flat | edge;
  if (AllSet(settled)) {
    // Smooth or edge-only spans, common in real pictures, need none of the divisions below.
    const Int8 truncated = Truncate(Wide(edge) ? zero - 1.0 : flat_result);
    Store(truncated, values + base);
    return;
  }
  const Double8 term_c = e2 / ToDouble(activity_c + 1);
  const Double8 activity_terms =
      ((zero + e2 / ToDouble(activity_a + 1)) + e2 / ToDouble(activity_b + 1)) + (three_wide ? term_c : zero);
  const Double8 mean_factor = three_wide ? zero + static_cast<double>(0.33333334f) : zero + 0.5;
  const Double8 mean_activity_term = activity_terms * mean_factor;
  Double8 result = e * (e2 / ToDouble(variation + 1)) * mean_activity_term;
  const Double8 top = zero + 255.0;
  result = (limited & (top < result)) ? top : result;
  result = Wide(flat) ? flat_result : result;
  result = Wide(edge) ? zero - 1.0 : result;
  const Int8 truncated = Truncate(result);
  Store(truncated, values + base);
}

[[gnu::always_inline]] inline void ReadAdjacentLanes(const float* s0, ptrdiff_t across, int length,
                                                     const BoundaryLines& lines) {
  int k = 0;
  for (; k + 8 <= length; k += 8) {
    const Float8 before = Load<Float8>(s0 + k - across), at = Load<Float8>(s0 + k),
                 s1 = Load<Float8>(s0 + k + across), after = Load<Float8>(s0 + k + 2 * across);
    Store(Truncate(before - at), lines.d0 + k);
    Store(Truncate(at - s1), lines.d1 + k);
    Store(Truncate(s1 - after), lines.d2 + k);
    Store(at, lines.s0 + k);
    Store(s1, lines.s1 + k);
  }
  for (; k < length; ++k) ReadBoundaryLine(s0 + k, across, lines, k);
}

[[gnu::always_inline]] inline void EvaluateBoundaryLanes(const BoundaryLines& lines, int length, bool limit_inner,
                                                         int edge_threshold, int32_t* values) {
  const Long8 limited = limit_inner ? Long8{-1, -1, -1, -1, -1, -1, -1, 0} : Long8{};
  int base = 0;
  for (; base + 8 <= length; base += 8) EvaluateSpan(lines, base, limited, edge_threshold, values);
  if (base < length) {
    // A last span shorter than eight (only for sizes that are not multiples of 8) through the reference.
    EvaluateBoundaryScalarFrom(lines, base, length, limit_inner, edge_threshold, values);
  }
}

__attribute__((target("avx2"))) void ReadAdjacentAvx2(const float* s0, ptrdiff_t across, int length,
                                                     const BoundaryLines& lines) {
  ReadAdjacentLanes(s0, across, length, lines);
}

__attribute__((target("avx2"))) void EvaluateBoundaryAvx2(const BoundaryLines& lines, int length, bool limit_inner,
                                                         int edge_threshold, int32_t* values) {
  EvaluateBoundaryLanes(lines, length, limit_inner, edge_threshold, values);
}

__attribute__((target("avx512f,avx512dq,avx512vl,avx512bw"))) void EvaluateBoundaryAvx512(
    const BoundaryLines& lines, int length, bool limit_inner, int edge_threshold, int32_t* values) {
  EvaluateBoundaryLanes(lines, length, limit_inner, edge_threshold, values);
}
#endif

}  // namespace

void EvaluateBoundaryScalar(const BoundaryLines& lines, int length, bool limit_inner, int edge_threshold,
                            int32_t* values) {
  EvaluateBoundaryScalarFrom(lines, 0, length, limit_inner, edge_threshold, values);
}

void InitBlockingLaneKernels(BlockingLaneKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = {ReadAdjacentLinesScalar, EvaluateBoundaryScalar};
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels = {ReadAdjacentAvx2, EvaluateBoundaryAvx2};
  if ((flags & kCpuAvx512) != 0) kernels.evaluate = EvaluateBoundaryAvx512;
#endif
}

const BlockingLaneKernels& ActiveBlockingLaneKernels() {
  return ActiveKernels<BlockingLaneKernels, InitBlockingLaneKernels>();
}

}  // namespace vidmetra
