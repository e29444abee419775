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

template <typename Sample>
void ReadAdjacentLinesOf(const Sample* s0, ptrdiff_t across, int length, const BoundaryLines& lines) {
  for (int k = 0; k < length; ++k) ReadBoundaryLine(s0 + k, across, lines, k);
}

template <typename Sample>
void ReadStackedLinesOf(const Sample* s0, ptrdiff_t along, int length, const BoundaryLines& lines) {
  for (int k = 0; k < length; ++k) ReadBoundaryLine(s0 + k * along, 1, lines, k);
}

}  // namespace

void ReadAdjacentLinesScalar(const float* s0, ptrdiff_t across, int length, const BoundaryLines& lines) {
  ReadAdjacentLinesOf(s0, across, length, lines);
}

void ReadAdjacentLinesScalar(const uint8_t* s0, ptrdiff_t across, int length, const BoundaryLines& lines) {
  ReadAdjacentLinesOf(s0, across, length, lines);
}

void ReadStackedLinesScalar(const float* s0, ptrdiff_t along, int length, const BoundaryLines& lines) {
  ReadStackedLinesOf(s0, along, length, lines);
}

void ReadStackedLinesScalar(const uint8_t* s0, ptrdiff_t along, int length, const BoundaryLines& lines) {
  ReadStackedLinesOf(s0, along, length, lines);
}

BoundaryPool PoolValuesScalar(const int32_t* values, int length) {
  BoundaryPool pool;
  for (int i = 0; i < length; ++i) {
    if (values[i] != 0 && values[i] != -1) {
      pool.count += 1;
      pool.total += values[i];
    }
  }
  return pool;
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
using Long4 = int64_t __attribute__((vector_size(32)));

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
// The halves folded together first: picking the four 64-bit lanes out one by one crosses the register's halves
// twice.
[[gnu::always_inline]] inline bool AllSet(Int8 mask) {
  const Long4 halves = __builtin_bit_cast(Long4, mask);
  const Long4 folded = halves & __builtin_shufflevector(halves, halves, 2, 3, 0, 1);
  return (folded[0] & folded[1]) == -1;
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

// The integer terms of the eight positions of a span: those that decide an edge or a flat neighbourhood and the
// operands of the divisions.
struct SpanTerms {
  Int8 excess;  // |sum of the excesses|
  Int8 activity_a, activity_b, activity_c;  // activity_c is 0 on the two-line lanes
  Int8 variation;
  Int8 edge, flat;
};

const Int8 kThreeLines = {0, -1, -1, -1, -1, -1, -1, 0};

[[gnu::always_inline]] inline SpanTerms ReadSpanTerms(const BoundaryLines& lines, int base, int threshold) {
  // Each line's excess and activity, and the along-boundary steps between neighbouring lines, are formed once and
  // then picked for the two or three lines of every position.
  const Int8 d0 = Load<Int8>(lines.d0 + base), d1 = Load<Int8>(lines.d1 + base), d2 = Load<Int8>(lines.d2 + base);
  const Float8 s0 = Load<Float8>(lines.s0 + base), s1 = Load<Float8>(lines.s1 + base);
  const Int8 excess = d1 - ((d0 + d2) >> 1);
  const Int8 activity = Abs(d0) + Abs(d2);
  // step0[k] = |s0(k) − s0(k + 1)|, likewise step1 (lane 7 unused).
  const Float8 step0 = Abs(s0 - __builtin_shufflevector(s0, s0, 1, 2, 3, 4, 5, 6, 7, 7));
  const Float8 step1 = Abs(s1 - __builtin_shufflevector(s1, s1, 1, 2, 3, 4, 5, 6, 7, 7));
  SpanTerms t;
  t.excess = Abs(FirstLine(excess) + SecondLine(excess) + (ThirdLine(excess) & kThreeLines));
  t.activity_a = FirstLine(activity);
  t.activity_b = SecondLine(activity);
  t.activity_c = ThirdLine(activity) & kThreeLines;
  const Int8 count = 2 - kThreeLines;  // 2 or 3 lines
  // |sum of D1| / lines > threshold, in integers: the quotient exceeds it exactly when |sum| ≥ (threshold + 1)·lines.
  t.edge = Abs(FirstLine(d1) + SecondLine(d1) + (ThirdLine(d1) & kThreeLines)) > (threshold + 1) * count - 1;
  // Two lines f, f + 1: the steps between them; three lines f … f + 2: both steps, added before truncating.
  const Int8 variation_two = Truncate(FirstLine(step0)) + Truncate(FirstLine(step1));
  const Int8 variation_three = (Truncate(SecondLine(step0) + FirstLine(step0)) >> 1) +
                               (Truncate(SecondLine(step1) + FirstLine(step1)) >> 1);
  t.variation = kThreeLines ? variation_three : variation_two;
  t.flat = t.variation + t.activity_a + t.activity_b + t.activity_c < count + 1;
  return t;
}

// The reference's evaluation of every lane in double precision, divisions and all.
[[gnu::always_inline]] inline void EvaluateSpanExact(const SpanTerms& t, Long8 limited, int32_t* values) {
  const Long8 three_wide = Wide(kThreeLines);
  const Double8 zero{};
  const Double8 e = ToDouble(t.excess) * (three_wide ? zero + 1.0 / 3.0 : zero + 0.5);
  const Double8 e2 = e * 0.5;
  const Double8 flat_result = 16.0 * ToDouble(Truncate(e));
  const Double8 term_c = e2 / ToDouble(t.activity_c + 1);
  const Double8 activity_terms = ((zero + e2 / ToDouble(t.activity_a + 1)) + e2 / ToDouble(t.activity_b + 1)) +
                                 (three_wide ? term_c : zero);
  const Double8 mean_factor = three_wide ? zero + static_cast<double>(0.33333334f) : zero + 0.5;
  Double8 result = e * (e2 / ToDouble(t.variation + 1)) * (activity_terms * mean_factor);
  const Double8 top = zero + 255.0;
  result = (limited & (top < result)) ? top : result;
  result = Wide(t.flat) ? flat_result : result;
  result = Wide(t.edge) ? zero - 1.0 : result;
  Store(Truncate(result), values);
}

// The same values from single precision with one division: e · e2 · e2 · mean factor · Σ 1/(A + 1) / (V + 1),
// the sum over a common denominator. With every term below 2^12 the product carries under 13 roundings of 2^-24
// each, the reference's doubles a negligible share, so the reference's result lies within a relative 2^-18 of it.
// Where both ends of that interval truncate (after the limit) to the same integer, that integer is the
// reference's value; only when some lane's interval holds an integer boundary does the span need the doubles.
[[gnu::always_inline]] inline bool EvaluateSpanCertified(const SpanTerms& t, Int8 limited, int32_t* values) {
  using Unsigned8 = uint32_t __attribute__((vector_size(32)));
  const Int8 largest = t.excess | t.activity_a | t.activity_b | t.activity_c | t.variation;
  const Int8 bounded = __builtin_bit_cast(Unsigned8, largest) < 4096u;  // false on corrupt planes only
  const Float8 zero{};
  const Float8 x = __builtin_convertvector(t.excess, Float8);
  const Float8 e = x * (kThreeLines ? zero + 1.0f / 3.0f : zero + 0.5f);
  const Float8 e2 = e * 0.5f;
  const Float8 pa = __builtin_convertvector(t.activity_a + 1, Float8);
  const Float8 pb = __builtin_convertvector(t.activity_b + 1, Float8);
  const Float8 pc = __builtin_convertvector(t.activity_c + 1, Float8);
  const Float8 numerator = kThreeLines ? (pb * pc + pa * pc) + pa * pb : pa + pb;
  const Float8 denominator =
      (kThreeLines ? pa * pb * pc : pa * pb) * __builtin_convertvector(t.variation + 1, Float8);
  const Float8 mean_factor = kThreeLines ? zero + 0.33333334f : zero + 0.5f;
  const Float8 result = (e * e2) * (e2 * mean_factor) * numerator / denominator;
  const Float8 top = zero + 255.0f;
  Float8 low = result * (1.0f - 0x1p-18f), high = result * (1.0f + 0x1p-18f);
  low = (limited & (top < low)) ? top : low;
  high = (limited & (top < high)) ? top : high;
  const Int8 truncated = __builtin_convertvector(low, Int8);
  const Int8 certain = (truncated == __builtin_convertvector(high, Int8)) & (high < 0x1p30f);
  if (!AllSet(bounded & (certain | t.edge | t.flat))) return false;
  // trunc(e): |excess| / 3 for three lines (exact for |excess| < 4096), / 2 for two.
  const Int8 whole_e = kThreeLines ? (t.excess * 21846) >> 16 : t.excess >> 1;
  const Int8 value = t.edge ? Int8{} - 1 : (t.flat ? 16 * whole_e : truncated);
  Store(value, values);
  return true;
}

[[gnu::always_inline]] inline void EvaluateSpan(const BoundaryLines& lines, int base, bool limit_inner, int threshold,
                                                int32_t* values) {
  const SpanTerms terms = ReadSpanTerms(lines, base, threshold);
  const Int8 limited = limit_inner ? kThreeLines | Int8{-1, 0, 0, 0, 0, 0, 0, 0} : Int8{};
  if (!EvaluateSpanCertified(terms, limited, values + base)) EvaluateSpanExact(terms, Wide(limited), values + base);
}

[[gnu::always_inline]] inline void StoreLineTerms(Float8 before, Float8 at, Float8 s1, Float8 after,
                                                  const BoundaryLines& lines, int k) {
  Store(Truncate(before - at), lines.d0 + k);
  Store(Truncate(at - s1), lines.d1 + k);
  Store(Truncate(s1 - after), lines.d2 + k);
  Store(at, lines.s0 + k);
  Store(s1, lines.s1 + k);
}

// The same from 8-bit samples widened to integers: their differences are whole already, as truncation leaves
// them.
[[gnu::always_inline]] inline void StoreLineTerms(Int8 before, Int8 at, Int8 s1, Int8 after,
                                                  const BoundaryLines& lines, int k) {
  Store(before - at, lines.d0 + k);
  Store(at - s1, lines.d1 + k);
  Store(s1 - after, lines.d2 + k);
  Store(__builtin_convertvector(at, Float8), lines.s0 + k);
  Store(__builtin_convertvector(s1, Float8), lines.s1 + k);
}

// Eight samples from `from` on: floats, or bytes widened to integers.
[[gnu::always_inline]] inline Float8 LoadSamples(const float* from) { return Load<Float8>(from); }
[[gnu::always_inline]] inline Int8 LoadSamples(const uint8_t* from) {
  using Byte8 = uint8_t __attribute__((vector_size(8)));
  using Word8 = uint16_t __attribute__((vector_size(16)));
  // Through words: widened in one step the compiler takes the bytes one by one.
  return __builtin_convertvector(__builtin_convertvector(Load<Byte8>(from), Word8), Int8);
}

template <typename Sample>
[[gnu::always_inline]] inline void ReadAdjacentLanes(const Sample* s0, ptrdiff_t across, int length,
                                                     const BoundaryLines& lines) {
  int k = 0;
  for (; k + 8 <= length; k += 8) {
    StoreLineTerms(LoadSamples(s0 + k - across), LoadSamples(s0 + k), LoadSamples(s0 + k + across),
                   LoadSamples(s0 + k + 2 * across), lines, k);
  }
  for (; k < length; ++k) ReadBoundaryLine(s0 + k, across, lines, k);
}

// Eight lines of bytes at a time: the four samples s(−1) … s(2) of each line are one 32-bit word, whose bytes
// give one vector per position across the boundary.
[[gnu::always_inline]] inline void ReadStackedLanes(const uint8_t* s0, ptrdiff_t along, int length,
                                                    const BoundaryLines& lines) {
  int k = 0;
  for (; k + 8 <= length; k += 8) {
    Int8 words;
    for (int i = 0; i < 8; ++i) words[i] = static_cast<int32_t>(Load<uint32_t>(s0 + (k + i) * along - 1));
    StoreLineTerms(words & 0xFF, (words >> 8) & 0xFF, (words >> 16) & 0xFF, (words >> 24) & 0xFF, lines, k);
  }
  for (; k < length; ++k) ReadBoundaryLine(s0 + k * along, 1, lines, k);
}

// Eight lines at a time: the four samples s(−1) … s(2) of each line are adjacent, so a 4 × 8 transposition turns
// the eight quarters into one vector per position across the boundary.
[[gnu::always_inline]] inline void ReadStackedLanes(const float* s0, ptrdiff_t along, int length,
                                                    const BoundaryLines& lines) {
  using Float4 = float __attribute__((vector_size(16)));
  int k = 0;
  for (; k + 8 <= length; k += 8) {
    Float4 row[8];
    for (int i = 0; i < 8; ++i) row[i] = Load<Float4>(s0 + (k + i) * along - 1);
    const Float8 p0 = __builtin_shufflevector(row[0], row[4], 0, 1, 2, 3, 4, 5, 6, 7);
    const Float8 p1 = __builtin_shufflevector(row[1], row[5], 0, 1, 2, 3, 4, 5, 6, 7);
    const Float8 p2 = __builtin_shufflevector(row[2], row[6], 0, 1, 2, 3, 4, 5, 6, 7);
    const Float8 p3 = __builtin_shufflevector(row[3], row[7], 0, 1, 2, 3, 4, 5, 6, 7);
    const Float8 t0 = __builtin_shufflevector(p0, p1, 0, 8, 1, 9, 4, 12, 5, 13);
    const Float8 t1 = __builtin_shufflevector(p0, p1, 2, 10, 3, 11, 6, 14, 7, 15);
    const Float8 t2 = __builtin_shufflevector(p2, p3, 0, 8, 1, 9, 4, 12, 5, 13);
    const Float8 t3 = __builtin_shufflevector(p2, p3, 2, 10, 3, 11, 6, 14, 7, 15);
    StoreLineTerms(__builtin_shufflevector(t0, t2, 0, 1, 8, 9, 4, 5, 12, 13),
                   __builtin_shufflevector(t0, t2, 2, 3, 10, 11, 6, 7, 14, 15),
                   __builtin_shufflevector(t1, t3, 0, 1, 8, 9, 4, 5, 12, 13),
                   __builtin_shufflevector(t1, t3, 2, 3, 10, 11, 6, 7, 14, 15), lines, k);
  }
  for (; k < length; ++k) ReadBoundaryLine(s0 + k * along, 1, lines, k);
}

[[gnu::always_inline]] inline void EvaluateBoundaryLanes(const BoundaryLines& lines, int length, bool limit_inner,
                                                         int edge_threshold, int32_t* values) {
  int base = 0;
  for (; base + 8 <= length; base += 8) EvaluateSpan(lines, base, limit_inner, edge_threshold, values);
  if (base < length) {
    // A last span shorter than eight (only for sizes that are not multiples of 8) through the reference.
    EvaluateBoundaryScalarFrom(lines, base, length, limit_inner, edge_threshold, values);
  }
}

[[gnu::always_inline]] inline BoundaryPool PoolValuesLanes(const int32_t* values, int length) {
  // Two accumulators of four 64-bit lanes, one register each on AVX2.
  Long4 low{}, high{};
  Int8 count{};
  int i = 0;
  for (; i + 8 <= length; i += 8) {
    const Int8 v = Load<Int8>(values + i);
    const Int8 pooled = (v != 0) & (v != -1);
    const Int8 kept = v & pooled;
    count -= pooled;
    low += __builtin_convertvector(__builtin_shufflevector(kept, kept, 0, 1, 2, 3), Long4);
    high += __builtin_convertvector(__builtin_shufflevector(kept, kept, 4, 5, 6, 7), Long4);
  }
  BoundaryPool pool = PoolValuesScalar(values + i, length - i);
  const Long4 total = low + high;
  for (int lane = 0; lane < 4; ++lane) pool.total += total[lane];
  for (int lane = 0; lane < 8; ++lane) pool.count += count[lane];
  return pool;
}

__attribute__((target("avx2"))) BoundaryPool PoolValuesAvx2(const int32_t* values, int length) {
  return PoolValuesLanes(values, length);
}

__attribute__((target("avx2"))) void ReadAdjacentAvx2(const float* s0, ptrdiff_t across, int length,
                                                     const BoundaryLines& lines) {
  ReadAdjacentLanes(s0, across, length, lines);
}

__attribute__((target("avx2"))) void ReadAdjacentBytesAvx2(const uint8_t* s0, ptrdiff_t across, int length,
                                                          const BoundaryLines& lines) {
  ReadAdjacentLanes(s0, across, length, lines);
}

__attribute__((target("avx2"))) void ReadStackedAvx2(const float* s0, ptrdiff_t along, int length,
                                                    const BoundaryLines& lines) {
  ReadStackedLanes(s0, along, length, lines);
}

__attribute__((target("avx2"))) void ReadStackedBytesAvx2(const uint8_t* s0, ptrdiff_t along, int length,
                                                         const BoundaryLines& lines) {
  ReadStackedLanes(s0, along, length, lines);
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
  kernels = {ReadAdjacentLinesScalar, ReadAdjacentLinesScalar, ReadStackedLinesScalar,
             ReadStackedLinesScalar,  EvaluateBoundaryScalar,  PoolValuesScalar};
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) {
    kernels = {ReadAdjacentAvx2, ReadAdjacentBytesAvx2, ReadStackedAvx2, ReadStackedBytesAvx2, EvaluateBoundaryAvx2,
               PoolValuesAvx2};
  }
  if ((flags & kCpuAvx512) != 0) kernels.evaluate = EvaluateBoundaryAvx512;
#endif
}

const BlockingLaneKernels& ActiveBlockingLaneKernels() {
  return ActiveKernels<BlockingLaneKernels, InitBlockingLaneKernels>();
}

}  // namespace vidmetra
