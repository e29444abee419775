#pragma once
// Sum of squared differences of two float planes, the kernel behind PSNR and MSE. Sums are kept in double;
// the vectorised variants only reorder additions (the same order in every tier), which is exact for 8-bit
// samples (every partial sum is an integer far below 2^53).
#include <cstddef>

namespace vidmetra {

// The reference, over float or byte samples (sample_pair.h).
template <typename A, typename B>
double SumSquaredErrorOf(A a, B b, size_t count) {
  double sum = 0.0;
  for (size_t i = 0; i < count; ++i) {
    const double d = static_cast<float>(a[i]) - static_cast<float>(b[i]);
    sum += d * d;
  }
  return sum;
}
double SumSquaredErrorScalar(const float* a, const float* b, size_t count);

struct SquaredErrorKernels {
  double (*sum)(const float* a, const float* b, size_t count);
};
// The reference, replaced by the vectorised variant of each tier the flags allow.
void InitSquaredErrorKernels(SquaredErrorKernels& kernels, unsigned flags);
const SquaredErrorKernels& ActiveSquaredErrorKernels();
// The active variant.
double SumSquaredError(const float* a, const float* b, size_t count);

}  // namespace vidmetra
