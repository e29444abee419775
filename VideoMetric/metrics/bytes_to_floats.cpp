#include "vidmetra/bytes_to_floats.h"

#include "vidmetra/cpu_dispatch.h"

#ifdef VIDMETRA_X86_KERNELS
#include "vidmetra/avx512_intrinsics.h"
#endif

namespace vidmetra {
namespace {

#ifdef VIDMETRA_X86_KERNELS
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

void InitBytesToFloatsKernels(BytesToFloatsKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels.widen = BytesToFloatsScalar;
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx512) != 0) kernels.widen = BytesToFloatsAvx512;
#endif
}

const BytesToFloatsKernels& ActiveBytesToFloatsKernels() {
  return ActiveKernels<BytesToFloatsKernels, InitBytesToFloatsKernels>();
}

void BytesToFloats(const uint8_t* from, float* to, size_t count) { ActiveBytesToFloatsKernels().widen(from, to, count); }

}  // namespace vidmetra
