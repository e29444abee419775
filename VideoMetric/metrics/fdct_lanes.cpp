// Every helper taking or returning a vector is inlined into the entry points, so no vector crosses a call and
// the calling convention the compiler warns about never applies.
#pragma GCC diagnostic ignored "-Wpsabi"

#include <cstring>

#include "vidmetra/cpu_dispatch.h"
#include "vidmetra/fdct.h"
#include "vidmetra/fdct_butterflies.h"

namespace vidmetra {

void ForwardDct8x8LanesScalar(int16_t* blocks) {
  int16_t block[64];
  for (int j = 0; j < kDctLanes; ++j) {
    for (int i = 0; i < 64; ++i) block[i] = blocks[kDctLanes * i + j];
    ForwardDct8x8(block);
    for (int i = 0; i < 64; ++i) blocks[kDctLanes * i + j] = block[i];
  }
}

#ifdef VIDMETRA_X86_KERNELS
namespace {

// The transform is written once on generic vectors; each instruction set compiles it in its own entry point.
using Lanes = double __attribute__((vector_size(sizeof(double) * kDctLanes)));
using LaneInts = int32_t __attribute__((vector_size(sizeof(int32_t) * kDctLanes)));
using LaneLongs = int64_t __attribute__((vector_size(sizeof(int64_t) * kDctLanes)));
using LaneWords = int16_t __attribute__((vector_size(sizeof(int16_t) * kDctLanes)));

#define VIDMETRA_LANES_INLINE [[gnu::always_inline]] inline

VIDMETRA_LANES_INLINE Lanes Splat(double value) { return Lanes{} + value; }

VIDMETRA_LANES_INLINE Lanes Clamp(const Lanes& x, double limit) {
  const Lanes below = x > Splat(limit) ? Splat(limit) : x;
  return below < Splat(-limit) ? Splat(-limit) : below;
}

// A copy of 0.5 with the sign of x.
VIDMETRA_LANES_INLINE Lanes SignedHalf(const Lanes& x) {
  const LaneLongs sign = (LaneLongs)x & static_cast<int64_t>(0x8000000000000000u);
  return (Lanes)(sign | (LaneLongs)Splat(0.5));
}

// The reference's rounding by a shift, on an exact value scaled by a power of two: the nearest integer, halves
// away from zero. Every value reaching it is below 2^36 with at most 16 fraction bits, so x ± 0.5 is exact and
// truncating it finishes the rounding. AVX-512 truncates by converting to 64-bit integers and back; below it,
// values beyond 2^33 are held there (the one caller multiplies the result by less than 2^15 and divides by 2^32,
// so that anything that large saturates either way) and the truncation is formed exactly by rounding to the
// nearest integer through 2^52 and stepping down where that went up.
template <bool kAvx512>
VIDMETRA_LANES_INLINE Lanes RoundHalfAway(const Lanes& scaled) {
  if constexpr (kAvx512) {
    const Lanes away = scaled + SignedHalf(scaled);
    return __builtin_convertvector(__builtin_convertvector(away, LaneLongs), Lanes);
  } else {
    const Lanes x = Clamp(scaled, 0x1p33);
    const Lanes magnitude = (x < Splat(0.0) ? -x : x) + Splat(0.5);
    const Lanes nearest = (magnitude + Splat(0x1p52)) - Splat(0x1p52);
    const Lanes below = nearest > magnitude ? nearest - Splat(1.0) : nearest;
    return x < Splat(0.0) ? -below : below;
  }
}

// The same rounding for a final coefficient, saturated at the 16-bit limits. No 16-bit block gives a coefficient
// beyond 2^20 before saturation, so x ± 0.5 is exact, the truncating conversion to 32-bit integers finishes the
// rounding, and saturating the integers afterwards changes nothing rounding would.
VIDMETRA_LANES_INLINE LaneWords RoundToWords(const Lanes& scaled) {
  LaneInts rounded = __builtin_convertvector(scaled + SignedHalf(scaled), LaneInts);
  rounded = rounded > 32767 ? 32767 : rounded;
  rounded = rounded < -32768 ? -32768 : rounded;
  return __builtin_convertvector(rounded, LaneWords);
}

constexpr double kUnit = static_cast<double>(int64_t{1} << kDctFraction);

// A second-pass output with 2·kDctFraction fraction bits and the √(1/8) factors it still owes, as the
// reference finishes it; multiplying by powers of two, and an integer below 2^36 by kDctC4, is exact.
template <bool kAvx512>
VIDMETRA_LANES_INLINE LaneWords FinishCoefficients(const Lanes& value, int missing_factors) {
  const Lanes fraction = Splat(1.0 / (kUnit * kUnit));
  switch (missing_factors) {
    case 0: return RoundToWords(value * fraction);
    case 1: return RoundToWords(RoundHalfAway<kAvx512>(value * Splat(1.0 / kUnit)) * (Splat(kDctC4) * fraction));
    default: return RoundToWords(value * (fraction * Splat(0.125)));  // (√(1/8))² = 1/8
  }
}

template <bool kAvx512>
VIDMETRA_LANES_INLINE void TransformLanes(int16_t* blocks) {
  Lanes samples[64];
  for (int i = 0; i < 64; ++i) {
    LaneWords words;
    std::memcpy(&words, blocks + kDctLanes * i, sizeof words);
    samples[i] = __builtin_convertvector(__builtin_convertvector(words, LaneInts), Lanes);
  }
  Lanes columns[64];
  for (int x = 0; x < 8; ++x) DctTransform8(samples + x, 8, columns + 8 * x);
  for (int v = 0; v < 8; ++v) {
    Lanes out[8];
    DctTransform8(columns + v, 8, out);
#pragma GCC unroll 8
    for (int u = 0; u < 8; ++u) {
      const LaneWords coefficients = FinishCoefficients<kAvx512>(out[u], DctLacksDcFactor(u) + DctLacksDcFactor(v));
      std::memcpy(blocks + kDctLanes * (8 * v + u), &coefficients, sizeof coefficients);
    }
  }
}

// Every processor with AVX-512 has fused multiply-add, which the exact products of the transform may use.
__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl,fma"))) void ForwardDct8x8Avx512(int16_t* blocks) {
  TransformLanes<true>(blocks);
}

__attribute__((target("avx2"))) void ForwardDct8x8Avx2(int16_t* blocks) { TransformLanes<false>(blocks); }

}  // namespace
#endif

void InitDctKernels(DctKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels.transform = ForwardDct8x8LanesScalar;
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels.transform = ForwardDct8x8Avx2;
  if ((flags & kCpuAvx512) != 0) kernels.transform = ForwardDct8x8Avx512;
#endif
}

const DctKernels& ActiveDctKernels() { return ActiveKernels<DctKernels, InitDctKernels>(); }

}  // namespace vidmetra
