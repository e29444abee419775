#include "vidmetra/fdct.h"

#include <algorithm>

#include "vidmetra/fdct_butterflies.h"

namespace vidmetra {
namespace {

// Halves away from zero, as the nearest-integer rounding of the exact transform does.
int64_t RoundShift(int64_t value, int shift) {
  const int64_t half = int64_t{1} << (shift - 1);
  return value >= 0 ? (value + half) >> shift : -((half - value) >> shift);
}

// A second-pass output with 2·kDctFraction fraction bits, and the √(1/8) factors it still owes.
int64_t FinishCoefficient(int64_t value, int missing_factors) {
  switch (missing_factors) {
    case 0: return RoundShift(value, 2 * kDctFraction);
    case 1: return RoundShift(kDctC4 * RoundShift(value, kDctFraction), 2 * kDctFraction);
    default: return RoundShift(value, 2 * kDctFraction + 3);  // (√(1/8))² = 1/8
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
    DctTransform8(samples + x, 8, out);
    std::copy_n(out, 8, columns + 8 * x);
  }
  for (int v = 0; v < 8; ++v) {
    DctTransform8(columns + v, 8, out);
    for (int u = 0; u < 8; ++u) {
      const int64_t coefficient = FinishCoefficient(out[u], DctLacksDcFactor(u) + DctLacksDcFactor(v));
      block[8 * v + u] = static_cast<int16_t>(std::clamp<int64_t>(coefficient, -32768, 32767));
    }
  }
}

}  // namespace vidmetra
