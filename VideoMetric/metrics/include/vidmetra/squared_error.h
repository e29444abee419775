#pragma once
// Sum of squared differences of two float planes, the kernel behind PSNR and MSE. Sums are kept in double;
// the vectorised variant only reorders additions, which is exact for 8-bit samples (every partial sum is an
// integer far below 2^53).
#include <cstddef>

namespace vidmetra {

double SumSquaredErrorScalar(const float* a, const float* b, size_t count);
// The fastest variant this processor supports, chosen once per process.
double SumSquaredError(const float* a, const float* b, size_t count);

}  // namespace vidmetra
