#pragma once
// The 8-point transform at the heart of the forward DCT, written once for the reference (64-bit integers) and
// for its vectorised form (vectors of doubles, one block per lane). Every value it forms is an integer below
// 2^53 in magnitude for 16-bit samples, so doubles hold each one exactly and both forms compute the same
// numbers.
#include <cstdint>
#include <type_traits>

namespace vidmetra {

// 0.5·cos(kπ/16) for k = 1 … 7 with 16 fraction bits; every one fits a signed 16-bit word.
inline constexpr int kDctFraction = 16;
inline constexpr int64_t kDctC1 = 32138;
inline constexpr int64_t kDctC2 = 30273;
inline constexpr int64_t kDctC3 = 27246;
inline constexpr int64_t kDctC4 = 23170;
inline constexpr int64_t kDctC5 = 18205;
inline constexpr int64_t kDctC6 = 12540;
inline constexpr int64_t kDctC7 = 6393;

// A constant as a `T`: itself for integers, in every lane for vectors.
template <class T>
[[gnu::always_inline]] inline T DctConstant(int64_t value) {
  if constexpr (std::is_integral_v<T>) {
    return value;
  } else {
    return T{} + static_cast<double>(value);
  }
}

// One 8-point transform with even/odd butterflies over in[k·step]. Outputs 0 and 4 are left without their
// common factor 0.5·cos(π/4) = √(1/8): applying it once for both passes makes the four coefficients (0/4, 0/4)
// exact multiples of 1/8, so their halfway cases round as the exact transform's do.
template <class T>
[[gnu::always_inline]] inline void DctTransform8(const T* in, int step, T* out) {
  T sum[4], difference[4];
  for (int n = 0; n < 4; ++n) {
    sum[n] = in[n * step] + in[(7 - n) * step];
    difference[n] = in[n * step] - in[(7 - n) * step];
  }
  const T outer = sum[0] - sum[3];
  const T inner = sum[1] - sum[2];
  const T* d = difference;
  const T unit = DctConstant<T>(int64_t{1} << kDctFraction);
  const T c1 = DctConstant<T>(kDctC1), c2 = DctConstant<T>(kDctC2), c3 = DctConstant<T>(kDctC3);
  const T c5 = DctConstant<T>(kDctC5), c6 = DctConstant<T>(kDctC6), c7 = DctConstant<T>(kDctC7);
  out[0] = (sum[0] + sum[1] + sum[2] + sum[3]) * unit;
  out[4] = (sum[0] - sum[1] - sum[2] + sum[3]) * unit;
  out[2] = c2 * outer + c6 * inner;
  out[6] = c6 * outer - c2 * inner;
  out[1] = c1 * d[0] + c3 * d[1] + c5 * d[2] + c7 * d[3];
  out[3] = c3 * d[0] - c7 * d[1] - c1 * d[2] - c5 * d[3];
  out[5] = c5 * d[0] - c1 * d[1] + c7 * d[2] + c3 * d[3];
  out[7] = c7 * d[0] - c5 * d[1] + c3 * d[2] - c1 * d[3];
}

// The outputs that still owe the √(1/8) factor.
inline bool DctLacksDcFactor(int k) { return k == 0 || k == 4; }

}  // namespace vidmetra
