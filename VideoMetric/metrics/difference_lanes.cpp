#include "vidmetra/difference_lanes.h"

#include <cmath>

#include "vidmetra/blurring_metric.h"
#include "vidmetra/cpu_dispatch.h"
#include "vidmetra/difference_sum.h"
#include "vidmetra/float8_lanes.h"

namespace vidmetra {
namespace {

float Difference(float a, float b) { return a - b; }
float AbsoluteDifference(float a, float b) { return std::fabs(a - b); }

#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
#pragma GCC diagnostic ignored "-Wpsabi"
using lanes::Absolute;
using lanes::Float8;
using lanes::Int8;
using Double4 = double __attribute__((vector_size(32)));

[[gnu::always_inline]] inline Float8 Load(const float* from) { return lanes::Load<Float8>(from); }

// Eight float terms into two double accumulators, low lanes and high lanes.
struct Lanes {
  Double4 low{0, 0, 0, 0};
  Double4 high{0, 0, 0, 0};
  [[gnu::always_inline]] void Add(Float8 terms) {
    low += __builtin_convertvector(__builtin_shufflevector(terms, terms, 0, 1, 2, 3), Double4);
    high += __builtin_convertvector(__builtin_shufflevector(terms, terms, 4, 5, 6, 7), Double4);
  }
  [[gnu::always_inline]] double Total() const {
    const Double4 lanes = low + high;
    return (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
  }
};

[[gnu::always_inline]] inline LaneSum AbsoluteLanes(const float* a, const float* b, size_t count) {
  Lanes sum;
  size_t i = 0;
  for (; i + 8 <= count; i += 8) sum.Add(Absolute(Load(a + i) - Load(b + i)));
  double total = sum.Total();
  for (; i < count; ++i) total += AbsoluteDifference(a[i], b[i]);
  return {total, total};
}

// Whether |d| is an integer: below 2^23, adding and taking away 2^23 rounds any fraction away; from 2^23 on every
// float is an integer but some are taken as not, which only costs the shortcut. NaN is not.
[[gnu::always_inline]] inline auto Whole(Float8 magnitude) {
  return (magnitude + 0x1p23f) - 0x1p23f == magnitude;
}

// Signed sums of 8-bit samples hover around zero, where no rounding bound certifies a float; their terms are
// integers, though, which any order adds exactly.
[[gnu::always_inline]] inline LaneSum SignedLanesInDouble(const float* a, const float* b, size_t count) {
  Lanes sum, magnitude;
  Int8 whole = Int8{} - 1;
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const Float8 d = Load(a + i) - Load(b + i);
    sum.Add(d);
    magnitude.Add(Absolute(d));
    whole &= Whole(Absolute(d));
  }
  LaneSum total{sum.Total(), magnitude.Total(), true};
  for (int lane = 0; lane < 8; ++lane) total.integral = total.integral && whole[lane] != 0;
  for (; i < count; ++i) {
    const float d = AbsoluteDifference(a[i], b[i]);
    total.sum += Difference(a[i], b[i]);
    total.magnitude += d;
    total.integral = total.integral && (d + 0x1p23f) - 0x1p23f == d;
  }
  return total;
}

// Whole differences of at most 2^8 add exactly in float lanes over a block of 2^15 steps (no lane's partial
// sum reaches 2^24), which spares widening every term to double. The block sums are then exact, so the totals
// are the very doubles of any other order; a block with another difference sends the whole plane to the doubles.
constexpr size_t kExactBlockSteps = size_t{1} << 15;

[[gnu::always_inline]] inline LaneSum SignedLanes(const float* a, const float* b, size_t count) {
  const size_t vector_end = count - count % 8;
  double sum = 0.0, magnitude = 0.0;
  for (size_t block = 0; block < vector_end; block += 8 * kExactBlockSteps) {
    const size_t end = block + 8 * kExactBlockSteps < vector_end ? block + 8 * kExactBlockSteps : vector_end;
    Float8 block_sum{}, block_magnitude{};
    Int8 exact = Int8{} - 1;
    for (size_t i = block; i < end; i += 8) {
      const Float8 d = Load(a + i) - Load(b + i);
      const Float8 m = Absolute(d);
      block_sum += d;
      block_magnitude += m;
      exact &= Whole(m) & (m <= 256.0f);
    }
    for (int lane = 0; lane < 8; ++lane) {
      if (exact[lane] == 0) return SignedLanesInDouble(a, b, count);
    }
    for (int lane = 0; lane < 8; ++lane) {
      sum += static_cast<double>(block_sum[lane]);
      magnitude += static_cast<double>(block_magnitude[lane]);
    }
  }
  LaneSum total{sum, magnitude, true};
  for (size_t i = vector_end; i < count; ++i) {
    const float d = AbsoluteDifference(a[i], b[i]);
    total.sum += Difference(a[i], b[i]);
    total.magnitude += d;
    total.integral = total.integral && (d + 0x1p23f) - 0x1p23f == d;
  }
  return total;
}

[[gnu::always_inline]] inline LaneSum GradientLanes(const float* plane, int width, int height) {
  Lanes sum;
  double rest = 0.0;
  const auto stride = static_cast<size_t>(width);
  for (int y = 1; y + 1 < height; ++y) {
    const size_t row = static_cast<size_t>(y) * stride;
    size_t x = 1;
    for (; x + 8 < stride; x += 8) {
      const float* at = plane + row + x;
      sum.Add(Absolute(Load(at - 1) - Load(at + 1)) + Absolute(Load(at - width) - Load(at + width)));
    }
    for (; x + 1 < stride; ++x) rest += GradientAt(plane, row + x, stride);
  }
  const double total = sum.Total() + rest;
  return {total, total};
}

// Compiled for the architecture's baseline: SSE2 on x86-64, NEON on ARM.
LaneSum AbsoluteBaseline(const float* a, const float* b, size_t count) { return AbsoluteLanes(a, b, count); }
LaneSum SignedBaseline(const float* a, const float* b, size_t count) { return SignedLanes(a, b, count); }
LaneSum GradientsBaseline(const float* plane, int width, int height) { return GradientLanes(plane, width, height); }
#endif

#ifdef VIDMETRA_X86_KERNELS
__attribute__((target("avx2"))) LaneSum AbsoluteAvx2(const float* a, const float* b, size_t count) {
  return AbsoluteLanes(a, b, count);
}
__attribute__((target("avx2"))) LaneSum SignedAvx2(const float* a, const float* b, size_t count) {
  return SignedLanes(a, b, count);
}
__attribute__((target("avx2"))) LaneSum GradientsAvx2(const float* plane, int width, int height) {
  return GradientLanes(plane, width, height);
}
#endif

}  // namespace

LaneSum SumAbsoluteDifferencesScalar(const float* a, const float* b, size_t count) {
  const double sum = SumDifferences(a, b, count, nullptr, [](float d) { return std::fabs(d); });
  return {sum, sum};
}

LaneSum SumSignedDifferencesScalar(const float* a, const float* b, size_t count) {
  return {SumDifferences(a, b, count, nullptr, [](float d) { return d; }),
          SumDifferences(a, b, count, nullptr, [](float d) { return std::fabs(d); })};
}

LaneSum SumGradientsScalar(const float* plane, int width, int height) {
  const double sum = SumOfGradients(plane, width, height);
  return {sum, sum};
}

void InitDifferenceLaneKernels(DifferenceLaneKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = {SumAbsoluteDifferencesScalar, SumSignedDifferencesScalar, SumGradientsScalar};
#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
  if ((flags & (kCpuSse2 | kCpuNeon)) != 0) kernels = {AbsoluteBaseline, SignedBaseline, GradientsBaseline};
#endif
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels = {AbsoluteAvx2, SignedAvx2, GradientsAvx2};
#endif
}

const DifferenceLaneKernels& ActiveDifferenceLaneKernels() {
  return ActiveKernels<DifferenceLaneKernels, InitDifferenceLaneKernels>();
}

}  // namespace vidmetra
