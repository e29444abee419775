#include "vidmetra/fdct.h"

#include <algorithm>

namespace vidmetra {
namespace {

// 0.5·cos(kπ/16) for k = 1 … 7 with 16 fraction bits; every one fits a signed 16-bit word.
constexpr int64_t kC1 = 32138;
constexpr int64_t kC2 = 30273;
constexpr int64_t kC3 = 27246;
constexpr int64_t kC4 = 23170;
constexpr int64_t kC5 = 18205;
constexpr int64_t kC6 = 12540;
constexpr int64_t kC7 = 6393;
constexpr int kFraction = 16;

// Halves away from zero, as the nearest-integer rounding of the exact transform does.
int64_t RoundShift(int64_t value, int shift) {
  const int64_t half = int64_t{1} << (shift - 1);
  return value >= 0 ? (value + half) >> shift : -((half - value) >> shift);
}

// One 8-point transform with even/odd butterflies over in[k·step]. Outputs 0 and 4 are left without their
// common factor 0.5·cos(π/4) = √(1/8): applying it once for both passes makes the four coefficients (0/4, 0/4)
// exact multiples of 1/8, so their halfway cases round as the exact transform's do.
void Transform8(const int64_t* in, int step, int64_t* out) {
  int64_t sum[4], difference[4];
  for (int n = 0; n < 4; ++n) {
    sum[n] = in[n * step] + in[(7 - n) * step];
    difference[n] = in[n * step] - in[(7 - n) * step];
  }
  const int64_t outer = sum[0] - sum[3];
  const int64_t inner = sum[1] - sum[2];
  const int64_t* d = difference;
  out[0] = (sum[0] + sum[1] + sum[2] + sum[3]) << kFraction;
  out[4] = (sum[0] - sum[1] - sum[2] + sum[3]) << kFraction;
  out[2] = kC2 * outer + kC6 * inner;
  out[6] = kC6 * outer - kC2 * inner;
  out[1] = kC1 * d[0] + kC3 * d[1] + kC5 * d[2] + kC7 * d[3];
  out[3] = kC3 * d[0] - kC7 * d[1] - kC1 * d[2] - kC5 * d[3];
  out[5] = kC5 * d[0] - kC1 * d[1] + kC7 * d[2] + kC3 * d[3];
  out[7] = kC7 * d[0] - kC5 * d[1] + kC3 * d[2] - kC1 * d[3];
}

bool LacksDcFactor(int k) { return k == 0 || k == 4; }

// A second-pass output with 2·kFraction fraction bits, and the √(1/8) factors it still owes.
int64_t FinishCoefficient(int64_t value, int missing_factors) {
  switch (missing_factors) {
    case 0: return RoundShift(value, 2 * kFraction);
    case 1: return RoundShift(kC4 * RoundShift(value, kFraction), 2 * kFraction);
    default: return RoundShift(value, 2 * kFraction + 3);  // (√(1/8))² = 1/8
  }
}

}  // namespace

void ForwardDct8x8(int16_t block[64]) {
  int64_t samples[64];
  std::copy_n(block, 64, samples);
  // Columns first (vertical frequencies), kept exact and written transposed so that the row pass reads
  // columns again.
  int64_t columns[64];
  int64_t out[8];
  for (int x = 0; x < 8; ++x) {
    Transform8(samples + x, 8, out);
    std::copy_n(out, 8, columns + 8 * x);
  }
  for (int v = 0; v < 8; ++v) {
    Transform8(columns + v, 8, out);
    for (int u = 0; u < 8; ++u) {
      const int64_t coefficient = FinishCoefficient(out[u], LacksDcFactor(u) + LacksDcFactor(v));
      block[8 * v + u] = static_cast<int16_t>(std::clamp<int64_t>(coefficient, -32768, 32767));
    }
  }
}

}  // namespace vidmetra
