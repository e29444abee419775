#include "vidmetra/squared_error.h"

namespace vidmetra {
namespace {

#if defined(__x86_64__) && defined(__GNUC__)
#define VIDMETRA_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VIDMETRA_CLONES
#endif

using Float8 = float __attribute__((vector_size(32)));
using Double4 = double __attribute__((vector_size(32)));

VIDMETRA_CLONES double SumSquaredErrorVector(const float* a, const float* b, size_t count) {
  Double4 low = {0, 0, 0, 0};
  Double4 high = {0, 0, 0, 0};
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    Float8 x, y;
    __builtin_memcpy(&x, a + i, sizeof x);
    __builtin_memcpy(&y, b + i, sizeof y);
    const Float8 d = x - y;
    const Double4 d_low = __builtin_convertvector(__builtin_shufflevector(d, d, 0, 1, 2, 3), Double4);
    const Double4 d_high = __builtin_convertvector(__builtin_shufflevector(d, d, 4, 5, 6, 7), Double4);
    low += d_low * d_low;
    high += d_high * d_high;
  }
  const Double4 lanes = low + high;
  double sum = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
  for (; i < count; ++i) {
    const double d = a[i] - b[i];
    sum += d * d;
  }
  return sum;
}

}  // namespace

double SumSquaredErrorScalar(const float* a, const float* b, size_t count) {
  double sum = 0.0;
  for (size_t i = 0; i < count; ++i) {
    const double d = a[i] - b[i];
    sum += d * d;
  }
  return sum;
}

double SumSquaredError(const float* a, const float* b, size_t count) { return SumSquaredErrorVector(a, b, count); }

}  // namespace vidmetra
