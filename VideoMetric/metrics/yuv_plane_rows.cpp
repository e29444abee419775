#include "vidmetra/yuv_plane_rows.h"

#include <algorithm>

#include "vidmetra/cpu_dispatch.h"
#include "vidmetra/float8_lanes.h"
#include "vidmetra/plane_colour.h"
#include "vidmetra/rgb_yuv_kernels.h"

#ifdef VIDMETRA_X86_KERNELS
#include <immintrin.h>
#endif

namespace vidmetra {
namespace {

uint8_t ChromaByte(const uint8_t* chroma, int x, int width, bool halved) {
  return chroma[halved ? ChromaIndex420(x, width) : x];
}

float CentredChroma(const uint8_t* chroma, int x, int width, bool halved) {
  return static_cast<float>(ChromaByte(chroma, x, width, halved)) - 128.0f;
}

#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
// Eight pixels a step (float8_lanes.h). The build silences -Wpsabi for this file, which GCC reports for the
// formula templates instantiated on the vectors without a location.
using lanes::Float8;
using Bytes8 = uint8_t __attribute__((vector_size(8)));
using Bytes4 = uint8_t __attribute__((vector_size(4)));
using Bytes16 = uint8_t __attribute__((vector_size(16)));
using Short8 = int16_t __attribute__((vector_size(16)));

// GCC converts a byte vector to floats one lane at a time; through 16 and 32 bits it uses widening instructions.
[[gnu::always_inline]] inline Float8 WidenBytes(Bytes8 bytes) {
  return __builtin_convertvector(__builtin_convertvector(__builtin_convertvector(bytes, Short8), lanes::Int8), Float8);
}

[[gnu::always_inline]] inline Float8 Widen8(const uint8_t* from) {
  Bytes8 bytes;
  __builtin_memcpy(&bytes, from, sizeof bytes);
  return WidenBytes(bytes);
}

// The centred chroma of pixels x … x + 7; in a halved row each of four samples serves a pixel pair.
[[gnu::always_inline]] inline Float8 Chroma8(const uint8_t* chroma, int x, bool halved) {
  if (!halved) return Widen8(chroma + x) - 128.0f;
  Bytes4 bytes;
  __builtin_memcpy(&bytes, chroma + x / 2, sizeof bytes);
  return WidenBytes(__builtin_shufflevector(bytes, bytes, 0, 0, 1, 1, 2, 2, 3, 3)) - 128.0f;
}

// Pixels up to here are whole pairs read in order; the odd-width exception and the rest go through the reference.
inline int VectorEnd(int width) { return width - 2 - (width - 2) % 8; }

// Sixteen pixels a step: a halved row's eight samples each twice.
[[gnu::always_inline]] inline void ChromaBytesRowLanes(const uint8_t* chroma, int width, bool halved, uint8_t* out) {
  int x = 0;
  if (halved) {
    for (const int end = width - 2 - (width - 2) % 16; x < end; x += 16) {
      Bytes8 bytes;
      __builtin_memcpy(&bytes, chroma + x / 2, sizeof bytes);
      const Bytes16 pairs = __builtin_shufflevector(bytes, bytes, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7);
      __builtin_memcpy(out + x, &pairs, sizeof pairs);
    }
  } else {
    std::copy_n(chroma, width, out);  // which, unlike memcpy, takes an empty row of null pointers
    x = width;
  }
  for (; x < width; ++x) out[x] = ChromaByte(chroma, x, width, halved);
}

[[gnu::always_inline]] inline void ChromaRowLanes(const uint8_t* chroma, int width, bool halved, float* out) {
  int x = 0;
  for (const int end = VectorEnd(width); x < end; x += 8) {
    lanes::Store(Chroma8(chroma, x, halved), out + x);
  }
  for (; x < width; ++x) out[x] = CentredChroma(chroma, x, width, halved);
}

template <int kMatrix, int kComponent>
[[gnu::always_inline]] inline void RgbRowOf(const YuvSourceRow& row, float* out) {
  int x = 0;
  for (const int end = VectorEnd(row.width); x < end; x += 8) {
    lanes::Store(RgbFromYuv(kMatrix, kComponent, Widen8(row.y + x), Chroma8(row.u, x, row.halved),
                            Chroma8(row.v, x, row.halved)),
                 out + x);
  }
  for (; x < row.width; ++x) {
    out[x] = RgbFromYuv(kMatrix, kComponent, static_cast<float>(row.y[x]),
                        CentredChroma(row.u, x, row.width, row.halved), CentredChroma(row.v, x, row.width, row.halved));
  }
}

// Calls `row_of.template operator()<kMatrix, kComponent>()` for the formula of an R, G or B component: one loop
// per formula, so that choosing it costs nothing per vector.
template <typename RowOf>
[[gnu::always_inline]] inline void ForFormula(int matrix, int component, RowOf row_of) {
  const bool rec601 = matrix == kRec601;
  if (component == kComponentR) return rec601 ? row_of.template operator()<kRec601, kComponentR>()
                                              : row_of.template operator()<kPc601, kComponentR>();
  if (component == kComponentG) return rec601 ? row_of.template operator()<kRec601, kComponentG>()
                                              : row_of.template operator()<kPc601, kComponentG>();
  return rec601 ? row_of.template operator()<kRec601, kComponentB>() : row_of.template operator()<kPc601, kComponentB>();
}

[[gnu::always_inline]] inline void RgbRowLanes(const YuvSourceRow& row, int component, int matrix, float* out) {
  ForFormula(matrix, component, [&]<int kMatrix, int kComponent>() { RgbRowOf<kMatrix, kComponent>(row, out); });
}

// Compiled for the architecture's baseline: SSE2 on x86-64, NEON on ARM.
void ChromaRowBaseline(const uint8_t* chroma, int width, bool halved, float* out) {
  ChromaRowLanes(chroma, width, halved, out);
}
void ChromaBytesRowBaseline(const uint8_t* chroma, int width, bool halved, uint8_t* out) {
  ChromaBytesRowLanes(chroma, width, halved, out);
}
void RgbRowBaseline(const YuvSourceRow& row, int component, int matrix, float* out) {
  RgbRowLanes(row, component, matrix, out);
}
#endif

#ifdef VIDMETRA_X86_KERNELS
__attribute__((target("avx2"))) void ChromaRowAvx2(const uint8_t* chroma, int width, bool halved, float* out) {
  ChromaRowLanes(chroma, width, halved, out);
}
// Sixteen pixels a step, as two halves of eight whose bytes are each widened by one instruction (GCC's generic
// conversion takes several).
struct Eights {
  Float8 low, high;
};

__attribute__((target("avx2"))) inline Float8 WidenEight(__m128i bytes) {
  return reinterpret_cast<Float8>(_mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(bytes)));
}

__attribute__((target("avx2"))) inline Eights WidenSixteen(__m128i bytes) {
  return {WidenEight(bytes), WidenEight(_mm_srli_si128(bytes, 8))};
}

__attribute__((target("avx2"))) inline Eights CentredChroma16(const uint8_t* chroma, int x, bool halved) {
  __m128i bytes;
  if (halved) {
    const __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(chroma + x / 2));
    bytes = _mm_unpacklo_epi8(eight, eight);
  } else {
    bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chroma + x));
  }
  const Eights widened = WidenSixteen(bytes);
  return {widened.low - 128.0f, widened.high - 128.0f};
}

// Takes the halves by reference: clang refuses vectors passed by value between functions of different targets.
template <int kMatrix, int kComponent>
[[gnu::always_inline]] inline void StoreRgb16(const Eights& y, const Eights& u, const Eights& v, float* out) {
  lanes::Store(RgbFromYuv(kMatrix, kComponent, y.low, u.low, v.low), out);
  lanes::Store(RgbFromYuv(kMatrix, kComponent, y.high, u.high, v.high), out + 8);
}

template <int kMatrix, int kComponent>
__attribute__((target("avx2"))) void RgbRowOfAvx2(const YuvSourceRow& row, float* out) {
  int x = 0;
  for (const int end = row.width - 2 - (row.width - 2) % 16; x < end; x += 16) {
    const Eights y = WidenSixteen(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row.y + x)));
    const Eights u = CentredChroma16(row.u, x, row.halved);
    const Eights v = CentredChroma16(row.v, x, row.halved);
    StoreRgb16<kMatrix, kComponent>(y, u, v, out + x);
  }
  for (; x < row.width; ++x) {
    out[x] = RgbFromYuv(kMatrix, kComponent, static_cast<float>(row.y[x]),
                        CentredChroma(row.u, x, row.width, row.halved), CentredChroma(row.v, x, row.width, row.halved));
  }
}

__attribute__((target("avx2"))) void RgbRowAvx2(const YuvSourceRow& row, int component, int matrix, float* out) {
  ForFormula(matrix, component, [&]<int kMatrix, int kComponent>() { RgbRowOfAvx2<kMatrix, kComponent>(row, out); });
}
#endif

}  // namespace

void ChromaRowScalar(const uint8_t* chroma, int width, bool halved, float* out) {
  for (int x = 0; x < width; ++x) out[x] = CentredChroma(chroma, x, width, halved);
}

void ChromaBytesRowScalar(const uint8_t* chroma, int width, bool halved, uint8_t* out) {
  for (int x = 0; x < width; ++x) out[x] = ChromaByte(chroma, x, width, halved);
}

void RgbRowScalar(const YuvSourceRow& row, int component, int matrix, float* out) {
  for (int x = 0; x < row.width; ++x) {
    out[x] = RgbFromYuv(matrix, component, static_cast<float>(row.y[x]), CentredChroma(row.u, x, row.width, row.halved),
                        CentredChroma(row.v, x, row.width, row.halved));
  }
}

void InitYuvPlaneRowKernels(YuvPlaneRowKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = {ChromaRowScalar, ChromaBytesRowScalar, RgbRowScalar};
#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
  if ((flags & (kCpuSse2 | kCpuNeon)) != 0) kernels = {ChromaRowBaseline, ChromaBytesRowBaseline, RgbRowBaseline};
#endif
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels = {ChromaRowAvx2, ChromaBytesRowBaseline, RgbRowAvx2};
#endif
}

const YuvPlaneRowKernels& ActiveYuvPlaneRowKernels() {
  return ActiveKernels<YuvPlaneRowKernels, InitYuvPlaneRowKernels>();
}

}  // namespace vidmetra
