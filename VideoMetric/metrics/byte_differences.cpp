#include "vidmetra/byte_differences.h"

#include <cstdlib>

#include "vidmetra/cpu_dispatch.h"

#ifdef VIDMETRA_X86_KERNELS
#include <immintrin.h>
#endif

namespace vidmetra {

uint64_t SumSquaredByteDifferencesScalar(const uint8_t* a, const uint8_t* b, size_t count) {
  uint64_t sum = 0;
  for (size_t i = 0; i < count; ++i) {
    const int d = a[i] - b[i];
    sum += static_cast<uint64_t>(d * d);
  }
  return sum;
}

uint64_t SumAbsoluteByteDifferencesScalar(const uint8_t* a, const uint8_t* b, size_t count) {
  uint64_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum += static_cast<uint64_t>(std::abs(a[i] - b[i]));
  return sum;
}

int64_t SumSignedByteDifferencesScalar(const uint8_t* a, const uint8_t* b, size_t count) {
  int64_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum += a[i] - b[i];
  return sum;
}

namespace {

#ifdef VIDMETRA_X86_KERNELS
// Squares of 16-bit differences are added in pairs into 32-bit lanes, each of which gains at most 2 · 255² a
// step: flushed to 64 bits well before 2^31.
constexpr size_t kSquareFlushSteps = 4096;

uint64_t SumSquaredSse2(const uint8_t* a, const uint8_t* b, size_t count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i total = zero;
  size_t i = 0;
  while (i + 16 <= count) {
    __m128i lanes = zero;
    for (size_t step = 0; step < kSquareFlushSteps && i + 16 <= count; ++step, i += 16) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
      const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
      const __m128i low = _mm_sub_epi16(_mm_unpacklo_epi8(x, zero), _mm_unpacklo_epi8(y, zero));
      const __m128i high = _mm_sub_epi16(_mm_unpackhi_epi8(x, zero), _mm_unpackhi_epi8(y, zero));
      lanes = _mm_add_epi32(lanes, _mm_add_epi32(_mm_madd_epi16(low, low), _mm_madd_epi16(high, high)));
    }
    total = _mm_add_epi64(total, _mm_add_epi64(_mm_unpacklo_epi32(lanes, zero), _mm_unpackhi_epi32(lanes, zero)));
  }
  const auto sum = static_cast<uint64_t>(_mm_cvtsi128_si64(total)) +
                   static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total)));
  return sum + SumSquaredByteDifferencesScalar(a + i, b + i, count - i);
}

__attribute__((target("avx2"))) uint64_t SumSquaredAvx2(const uint8_t* a, const uint8_t* b, size_t count) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i total = zero;
  size_t i = 0;
  while (i + 32 <= count) {
    __m256i lanes = zero;
    for (size_t step = 0; step < kSquareFlushSteps && i + 32 <= count; ++step, i += 32) {
      const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
      const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
      const __m256i low = _mm256_sub_epi16(_mm256_unpacklo_epi8(x, zero), _mm256_unpacklo_epi8(y, zero));
      const __m256i high = _mm256_sub_epi16(_mm256_unpackhi_epi8(x, zero), _mm256_unpackhi_epi8(y, zero));
      lanes = _mm256_add_epi32(lanes, _mm256_add_epi32(_mm256_madd_epi16(low, low), _mm256_madd_epi16(high, high)));
    }
    total = _mm256_add_epi64(total, _mm256_add_epi64(_mm256_unpacklo_epi32(lanes, zero),
                                                     _mm256_unpackhi_epi32(lanes, zero)));
  }
  alignas(32) uint64_t parts[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(parts), total);
  return parts[0] + parts[1] + parts[2] + parts[3] + SumSquaredByteDifferencesScalar(a + i, b + i, count - i);
}

// |a − b| and the sums of a and of b come from the sum-of-absolute-differences instruction, whose 64-bit lanes
// cannot overflow on any plane that fits in memory.
uint64_t SumAbsoluteSse2(const uint8_t* a, const uint8_t* b, size_t count) {
  __m128i total = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    total = _mm_add_epi64(total, _mm_sad_epu8(x, y));
  }
  const auto sum = static_cast<uint64_t>(_mm_cvtsi128_si64(total)) +
                   static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total)));
  return sum + SumAbsoluteByteDifferencesScalar(a + i, b + i, count - i);
}

int64_t SumSignedSse2(const uint8_t* a, const uint8_t* b, size_t count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i total = zero;
  size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    total = _mm_add_epi64(total, _mm_sub_epi64(_mm_sad_epu8(x, zero), _mm_sad_epu8(y, zero)));
  }
  const int64_t sum = _mm_cvtsi128_si64(total) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total));
  return sum + SumSignedByteDifferencesScalar(a + i, b + i, count - i);
}

__attribute__((target("avx2"))) uint64_t SumAbsoluteAvx2(const uint8_t* a, const uint8_t* b, size_t count) {
  __m256i total = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
    total = _mm256_add_epi64(total, _mm256_sad_epu8(x, y));
  }
  alignas(32) uint64_t parts[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(parts), total);
  return parts[0] + parts[1] + parts[2] + parts[3] + SumAbsoluteByteDifferencesScalar(a + i, b + i, count - i);
}

__attribute__((target("avx2"))) int64_t SumSignedAvx2(const uint8_t* a, const uint8_t* b, size_t count) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i total = zero;
  size_t i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
    total = _mm256_add_epi64(total, _mm256_sub_epi64(_mm256_sad_epu8(x, zero), _mm256_sad_epu8(y, zero)));
  }
  alignas(32) int64_t parts[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(parts), total);
  return parts[0] + parts[1] + parts[2] + parts[3] + SumSignedByteDifferencesScalar(a + i, b + i, count - i);
}
#endif

}  // namespace

void InitByteDifferenceKernels(ByteDifferenceKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = {SumSquaredByteDifferencesScalar, SumAbsoluteByteDifferencesScalar, SumSignedByteDifferencesScalar};
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuSse2) != 0) kernels = {SumSquaredSse2, SumAbsoluteSse2, SumSignedSse2};
  if ((flags & kCpuAvx2) != 0) kernels = {SumSquaredAvx2, SumAbsoluteAvx2, SumSignedAvx2};
#endif
}

const ByteDifferenceKernels& ActiveByteDifferenceKernels() {
  return ActiveKernels<ByteDifferenceKernels, InitByteDifferenceKernels>();
}

}  // namespace vidmetra
