#include "vidmetra/squared_error.h"

#include "vidmetra/cpu_dispatch.h"

namespace vidmetra {
namespace {

#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
// The variants are written once on generic vectors and compiled for each instruction set in its own entry point.
#pragma GCC diagnostic ignored "-Wpsabi"
using Float8 = float __attribute__((vector_size(32)));
using Double4 = double __attribute__((vector_size(32)));

[[gnu::always_inline]] inline double SumSquaredErrorLanes(const float* a, const float* b, size_t count) {
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

// Compiled for the architecture's baseline: SSE2 on x86-64, NEON on ARM.
double SumSquaredErrorBaseline(const float* a, const float* b, size_t count) {
  return SumSquaredErrorLanes(a, b, count);
}
#endif

#ifdef VIDMETRA_X86_KERNELS
__attribute__((target("avx2"))) double SumSquaredErrorAvx2(const float* a, const float* b, size_t count) {
  return SumSquaredErrorLanes(a, b, count);
}
#endif

}  // namespace

double SumSquaredErrorScalar(const float* a, const float* b, size_t count) { return SumSquaredErrorOf(a, b, count); }

void InitSquaredErrorKernels(SquaredErrorKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels.sum = SumSquaredErrorScalar;
#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
  if ((flags & (kCpuSse2 | kCpuNeon)) != 0) kernels.sum = SumSquaredErrorBaseline;
#endif
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels.sum = SumSquaredErrorAvx2;
#endif
}

const SquaredErrorKernels& ActiveSquaredErrorKernels() {
  return ActiveKernels<SquaredErrorKernels, InitSquaredErrorKernels>();
}

double SumSquaredError(const float* a, const float* b, size_t count) {
  return ActiveSquaredErrorKernels().sum(a, b, count);
}

}  // namespace vidmetra
