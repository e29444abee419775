#include "vidmetra/bytes_to_floats.h"

#if defined(__x86_64__) && defined(__GNUC__)
// GCC 12 reports the deliberately undefined vectors inside its own AVX-512 intrinsics as uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#define VIDMETRA_AVX512_WIDENING 1
#endif

namespace vidmetra {
namespace {

#ifdef VIDMETRA_AVX512_WIDENING
// 64 samples a step, the rest through the reference.
__attribute__((target("avx512f"))) void BytesToFloatsAvx512(const uint8_t* from, float* to, size_t count) {
  size_t i = 0;
  for (; i + 64 <= count; i += 64) {
    for (size_t part = 0; part < 64; part += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i + part));
      _mm512_storeu_ps(to + i + part, _mm512_cvtepi32_ps(_mm512_cvtepu8_epi32(bytes)));
    }
  }
  BytesToFloatsScalar(from + i, to + i, count - i);
}
#endif

}  // namespace

void BytesToFloatsScalar(const uint8_t* from, float* to, size_t count) {
  for (size_t i = 0; i < count; ++i) to[i] = from[i];
}

void BytesToFloats(const uint8_t* from, float* to, size_t count) {
#ifdef VIDMETRA_AVX512_WIDENING
  static const bool avx512 = __builtin_cpu_supports("avx512f");
  if (avx512) return BytesToFloatsAvx512(from, to, count);
#endif
  BytesToFloatsScalar(from, to, count);
}

}  // namespace vidmetra
