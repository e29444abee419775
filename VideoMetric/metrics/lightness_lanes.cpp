#include "vidmetra/lightness_lanes.h"

#include <cstdint>

#include "vidmetra/cpu_dispatch.h"
#include "vidmetra/plane_colour.h"

namespace vidmetra {

void LightnessOfLumaScalar(const double* luma, size_t count, float* out) {
  for (size_t i = 0; i < count; ++i) out[i] = LightnessOf(RelativeLuminance(luma[i]));
}

namespace {

#ifdef VIDMETRA_X86_KERNELS
// Written once on generic vectors of eight lanes and compiled for each instruction set in its own entry point.
using Double8 = double __attribute__((vector_size(64)));
using Long8 = int64_t __attribute__((vector_size(64)));
using Float8 = float __attribute__((vector_size(32)));
using Int8 = int32_t __attribute__((vector_size(32)));

template <typename To, typename From>
[[gnu::always_inline]] inline To Bits(From x) {
  return __builtin_bit_cast(To, x);
}

// ln m for m in [√½, √2): 2·atanh z, z = (m − 1)/(m + 1), |z| < 0.1716, by its series up to z^15; the first
// term left out is below 1e-14.
[[gnu::always_inline]] inline Double8 LogNearOne(Double8 m) {
  constexpr double kOddReciprocals[] = {1.0 / 13, 1.0 / 11, 1.0 / 9, 1.0 / 7, 1.0 / 5, 1.0 / 3, 1.0};
  const Double8 z = (m - 1.0) / (m + 1.0);
  const Double8 w = z * z;
  Double8 sum = Double8{} + 1.0 / 15;
  for (const double c : kOddReciprocals) sum = sum * w + c;
  return 2.0 * z * sum;
}

// e^x for |x| ≤ 0.35 by its Taylor series up to x^11; the first term left out is below 1e-14.
[[gnu::always_inline]] inline Double8 ExpNearZero(Double8 x) {
  constexpr double kInverseFactorials[] = {1.0 / 3628800, 1.0 / 362880, 1.0 / 40320, 1.0 / 5040, 1.0 / 720, 1.0 / 120,
                                           1.0 / 24,      1.0 / 6,      1.0 / 2,     1.0,        1.0};
  Double8 sum = Double8{} + 1.0 / 39916800;
  for (const double c : kInverseFactorials) sum = sum * x + c;
  return sum;
}

// s^0.33333 for positive normal s below 2^100, as 2^(0.33333 · log2 s), within a relative 1e-13 of the exact
// power (the series' remainders and a few units of the last place of each step).
[[gnu::always_inline]] inline Double8 PowerOfThird(Double8 s) {
  const Long8 bits = Bits<Long8>(s);
  Double8 m = Bits<Double8>((bits & 0x000fffffffffffff) | 0x3ff0000000000000);  // s = m · 2^exponent, m in [1, 2)
  // The exponent field as a double: placed in the mantissa of 2^52, which is then taken away with the bias.
  Double8 exponent = Bits<Double8>(((bits >> 52) & 0x7ff) | 0x4330000000000000) - (0x1p52 + 1023.0);
  const Long8 high = m > 1.4142135623730951;
  m = high ? m * 0.5 : m;
  exponent = high ? exponent + 1.0 : exponent;
  const Double8 y = 0.33333 * (exponent + LogNearOne(m) * 1.4426950408889634);
  const Double8 shifter = Double8{} + 0x1.8p52;
  const Double8 shifted = y + shifter;  // rounds y to the nearest integer k in the low mantissa bits
  const Double8 k = shifted - shifter;
  const Long8 scale_bits = (Bits<Long8>(shifted) - Bits<Long8>(shifter) + 1023) << 52;
  return ExpNearZero((y - k) * 0.6931471805599453) * Bits<Double8>(scale_bits);
}

// Where the reference's double of 116·p − 16 can lie: its pow within a unit of the last place, our power within
// 1e-13, each scaled by 116, plus the roundings of the multiplication and subtraction; 1e-9 is far beyond.
constexpr double kLightnessSlack = 1e-9;

[[gnu::always_inline]] inline void LightnessLanes(const double* luma, size_t count, float* out) {
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    Double8 l;
    __builtin_memcpy(&l, luma + i, sizeof l);
    const Double8 t = l * static_cast<double>(0.003921569f);
    const Float8 single_float = __builtin_convertvector(t, Float8);
    const Double8 single = __builtin_convertvector(single_float, Double8);
    const Long8 power_branch = t > 0.008856;
    const Float8 linear = __builtin_convertvector(903.3 * single, Float8);
    const Double8 lightness = 116.0 * PowerOfThird(single) - 16.0;
    const Float8 low = __builtin_convertvector(lightness - kLightnessSlack, Float8);
    const Float8 high = __builtin_convertvector(lightness + kLightnessSlack, Float8);
    const Int8 power_lanes = __builtin_convertvector(power_branch, Int8);
    const Float8 result = power_lanes ? low : linear;
    __builtin_memcpy(out + i, &result, sizeof result);
    // The power is trusted on positive normal inputs below 2^100 whose interval rounds to one float.
    const Int8 certain = ~power_lanes | ((low == high) & __builtin_convertvector(single < 0x1p100, Int8));
    for (int lane = 0; lane < 8; ++lane) {
      if (certain[lane] == 0) LightnessOfLumaScalar(luma + i + lane, 1, out + i + lane);
    }
  }
  LightnessOfLumaScalar(luma + i, count - i, out + i);
}

__attribute__((target("avx2"))) void LightnessAvx2(const double* luma, size_t count, float* out) {
  LightnessLanes(luma, count, out);
}

__attribute__((target("avx512f,avx512dq,avx512vl,avx512bw"))) void LightnessAvx512(const double* luma, size_t count,
                                                                                   float* out) {
  LightnessLanes(luma, count, out);
}
#endif

}  // namespace

void InitLightnessKernels(LightnessKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = {LightnessOfLumaScalar};
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels = {LightnessAvx2};
  if ((flags & kCpuAvx512) != 0) kernels = {LightnessAvx512};
#endif
}

const LightnessKernels& ActiveLightnessKernels() { return ActiveKernels<LightnessKernels, InitLightnessKernels>(); }

}  // namespace vidmetra
