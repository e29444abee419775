#pragma once
// The sums behind PSNR, MSE, MSAD and Delta over two planes of 8-bit samples, in integers. Whole differences of
// 8-bit samples are exact in float and their sums exact in double, so these integers, converted, are the very
// sums the float references reach on the widened samples, in every tier.
#include <cstddef>
#include <cstdint>

namespace vidmetra {

// Σ(a − b)²
uint64_t SumSquaredByteDifferencesScalar(const uint8_t* a, const uint8_t* b, size_t count);
// Σ|a − b|
uint64_t SumAbsoluteByteDifferencesScalar(const uint8_t* a, const uint8_t* b, size_t count);
// Σ(a − b)
int64_t SumSignedByteDifferencesScalar(const uint8_t* a, const uint8_t* b, size_t count);

struct ByteDifferenceKernels {
  uint64_t (*squared)(const uint8_t* a, const uint8_t* b, size_t count);
  uint64_t (*absolute)(const uint8_t* a, const uint8_t* b, size_t count);
  int64_t (*signed_)(const uint8_t* a, const uint8_t* b, size_t count);
};
// The scalar sums, replaced by the vectorised ones of each tier the flags allow.
void InitByteDifferenceKernels(ByteDifferenceKernels& kernels, unsigned flags);
const ByteDifferenceKernels& ActiveByteDifferenceKernels();

}  // namespace vidmetra
