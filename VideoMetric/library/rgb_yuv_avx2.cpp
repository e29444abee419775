// The vectorised row kernels, eight pixels per AVX2 register. Processors without AVX2, and builds for other
// architectures, use the scalar reference instead (see InitRgbYuvKernels). Odd-width details that do not fit
// the groups are patched one pixel at a time afterwards with the same single-precision, round-to-nearest
// arithmetic.
#include "vidmetra/rgb_yuv_kernels.h"

#ifdef VIDMETRA_X86_KERNELS

#include <immintrin.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "vidmetra/colour_formulas.h"

#define VIDMETRA_AVX2 __attribute__((target("avx2")))
#define VIDMETRA_AVX2_INLINE inline __attribute__((target("avx2"), always_inline))

namespace vidmetra {
namespace {

constexpr int kGroup = 8;  // pixels per register of floats
constexpr int kZero = -1;  // a shuffle index that yields a zero byte

template <typename Map, size_t... J>
VIDMETRA_AVX2_INLINE __m128i Mask128(std::index_sequence<J...>) {
  return _mm_setr_epi8(static_cast<char>(Map::Index(static_cast<int>(J)))...);
}
template <typename Map, size_t... J>
VIDMETRA_AVX2_INLINE __m256i Mask256(std::index_sequence<J...>) {
  return _mm256_setr_epi8(static_cast<char>(Map::Index(static_cast<int>(J)))...);
}
// Byte shuffles within 128-bit lanes, the mask built from Map::Index(j) for each output byte j.
template <typename Map>
VIDMETRA_AVX2_INLINE __m128i Shuffle(__m128i bytes) {
  return _mm_shuffle_epi8(bytes, Mask128<Map>(std::make_index_sequence<16>{}));
}
template <typename Map>
VIDMETRA_AVX2_INLINE __m256i Shuffle(__m256i bytes) {
  return _mm256_shuffle_epi8(bytes, Mask256<Map>(std::make_index_sequence<32>{}));
}

// Channel `kChannel` of the four pixels of a lane, `kStep` bytes apart, zero-extended to 32 bits.
template <int kStep, int kChannel>
struct ChannelOfLane {
  static constexpr int Index(int j) { return j % 4 == 0 ? kStep * (j % 16 / 4) + kChannel : kZero; }
};
// Four 32-bit B, G, R, 0 pixels of a lane to 12 bytes B, G, R.
struct DropFourth {
  static constexpr int Index(int j) { return j % 16 < 12 ? j % 16 / 3 * 4 + j % 16 % 3 : kZero; }
};
// Four 3-byte pixels of a lane to 32-bit B, G, R, 0 pixels.
struct AddFourth {
  static constexpr int Index(int j) { return j % 16 % 4 == 3 ? kZero : j % 16 / 4 * 3 + j % 4; }
};
template <int kFirst, int kSpacing>
struct Every {
  static constexpr int Index(int j) { return j < 8 ? kFirst + kSpacing * j : kZero; }
};
// Y0 U Y1 V from eight lumas followed by U0 U1 V0 V1 U2 U3 V2 V3.
struct InterleaveYuy2 {
  static constexpr int Index(int j) {
    const int pair = j / 4, u = 8 + pair % 2 + pair / 2 * 4;
    switch (j % 4) {
      case 0: return 2 * pair;
      case 1: return u;
      case 2: return 2 * pair + 1;
      default: return u + 2;
    }
  }
};
// U0 U1 V0 V1 U2 U3 V2 V3 U4 ... to U0..U7 V0..V7.
struct SeparateChroma {
  static constexpr int Index(int j) { return j % 8 / 2 * 4 + j % 2 + (j < 8 ? 0 : 2); }
};
// One chroma sample per pair of pixels, from byte kOffset of each 4-byte YUY2 pair (kOffset 0: every sample
// of a plane row twice).
template <int kOffset, int kSpacing>
struct Doubled {
  static constexpr int Index(int j) { return j < 8 ? kOffset + kSpacing * (j / 2) : kZero; }
};

VIDMETRA_AVX2_INLINE __m256 ToFloat(__m256i values) { return _mm256_cvtepi32_ps(values); }
VIDMETRA_AVX2_INLINE __m256 Widen(__m128i bytes) { return ToFloat(_mm256_cvtepu8_epi32(bytes)); }
VIDMETRA_AVX2_INLINE __m128i Load8(const uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
VIDMETRA_AVX2_INLINE __m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
VIDMETRA_AVX2_INLINE void Store8(uint8_t* p, __m128i v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); }
VIDMETRA_AVX2_INLINE void Store16(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
VIDMETRA_AVX2_INLINE void Store32(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// Rounds to nearest, ties to even (the processor's default mode).
VIDMETRA_AVX2_INLINE __m256i Nearest(__m256 values) { return _mm256_cvtps_epi32(values); }

// Eight 32-bit values to bytes with saturation, in the low half.
VIDMETRA_AVX2_INLINE __m128i PackBytes(__m256i values) {
  const __m128i words = _mm_packs_epi32(_mm256_castsi256_si128(values), _mm256_extracti128_si256(values, 1));
  return _mm_packus_epi16(words, words);
}
VIDMETRA_AVX2_INLINE __m128i PackBytes(__m256i first, __m256i second) {
  const __m128i a = _mm_packs_epi32(_mm256_castsi256_si128(first), _mm256_extracti128_si256(first, 1));
  const __m128i b = _mm_packs_epi32(_mm256_castsi256_si128(second), _mm256_extracti128_si256(second, 1));
  return _mm_packus_epi16(a, b);
}

// Eight RGB24 pixels, four in each 128-bit lane (the top four bytes of each lane are don't-care).
VIDMETRA_AVX2_INLINE __m256i LoadRgb24Lanes(const uint8_t* bgr) {
  const __m128i low = Load16(bgr), high = Load8(bgr + 16);
  return _mm256_inserti128_si256(_mm256_castsi128_si256(low), _mm_alignr_epi8(high, low, 12), 1);
}

struct Channels {
  __m256 b, g, r;
};

template <int kStep>
VIDMETRA_AVX2_INLINE Channels LoadBgr(const uint8_t* bgr) {
  __m256i lanes;
  if constexpr (kStep == 4) {
    lanes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bgr));
  } else {
    lanes = LoadRgb24Lanes(bgr);
  }
  return Channels{ToFloat(Shuffle<ChannelOfLane<kStep, 0>>(lanes)), ToFloat(Shuffle<ChannelOfLane<kStep, 1>>(lanes)),
                  ToFloat(Shuffle<ChannelOfLane<kStep, 2>>(lanes))};
}

// The formulas of colour_formulas.h, term for term, eight pixels at a time.
VIDMETRA_AVX2_INLINE __m128i Luma(const Channels& c) {
  return PackBytes(Nearest(kLumaG * c.g + kLumaR * c.r + kLumaB * c.b));
}
VIDMETRA_AVX2_INLINE __m256 UOf(const Channels& c) { return kUB * c.b - kUG * c.g - kUR * c.r; }
VIDMETRA_AVX2_INLINE __m256 VOf(const Channels& c) { return kVR * c.r - (kVG * c.g + kVB * c.b); }

VIDMETRA_AVX2_INLINE __m256i NearestByteValue(__m256 values) {
  return _mm256_min_epi32(_mm256_max_epi32(Nearest(values), _mm256_setzero_si256()), _mm256_set1_epi32(255));
}

// B | G << 8 | R << 16 per pixel.
VIDMETRA_AVX2_INLINE __m256i InversePixels(__m256 y, __m256 u, __m256 v) {
  const __m256 du = u - 128.0f, dv = v - 128.0f;
  return _mm256_or_si256(_mm256_or_si256(NearestByteValue(y + kBU * du),
                                         _mm256_slli_epi32(NearestByteValue(y - kGU * du - kGV * dv), 8)),
                         _mm256_slli_epi32(NearestByteValue(y + kRV * dv), 16));
}

// Eight 32-bit pixels as kStep-byte pixels, writing exactly 8 * kStep bytes.
template <int kStep>
VIDMETRA_AVX2_INLINE void StorePixels(uint8_t* out, __m256i pixels) {
  if constexpr (kStep == 4) {
    Store32(out, pixels);
  } else {
    const __m256i packed = Shuffle<DropFourth>(pixels);
    const __m128i high = _mm256_extracti128_si256(packed, 1);
    Store16(out, _mm256_castsi256_si128(packed));  // its last four bytes are overwritten next
    Store8(out + 12, high);
    const int32_t tail = _mm_extract_epi32(high, 2);
    std::memcpy(out + 20, &tail, sizeof tail);
  }
}

template <int kStep>
VIDMETRA_AVX2_INLINE void RgbToYuvRow(const uint8_t* bgr, uint8_t* y, uint8_t* u, uint8_t* v, int width) {
  for (int x = 0; x < width; x += kGroup) {
    const Channels c = LoadBgr<kStep>(bgr + kStep * x);
    Store8(y + x, Luma(c));
    Store8(u + x, PackBytes(Nearest(UOf(c) + 128.0f)));
    Store8(v + x, PackBytes(Nearest(VOf(c) + 128.0f)));
  }
}

VIDMETRA_AVX2 void RgbToYuv(const uint8_t* bgr, int step, uint8_t* y, uint8_t* u, uint8_t* v, int width) {
  if (step == 4) {
    RgbToYuvRow<4>(bgr, y, u, v, width);
  } else {
    RgbToYuvRow<3>(bgr, y, u, v, width);
  }
}

template <int kStep>
VIDMETRA_AVX2_INLINE void RgbToYRow(const uint8_t* bgr, uint8_t* y, int width) {
  for (int x = 0; x < width; x += kGroup) Store8(y + x, Luma(LoadBgr<kStep>(bgr + kStep * x)));
}

VIDMETRA_AVX2 void RgbToY(const uint8_t* bgr, int step, uint8_t* y, int width) {
  if (step == 4) {
    RgbToYRow<4>(bgr, y, width);
  } else {
    RgbToYRow<3>(bgr, y, width);
  }
}

VIDMETRA_AVX2 void Rgb24ToYuy2(const uint8_t* bgr, uint8_t* yuy2, int width) {
  for (int x = 0; x < width; x += kGroup) {
    const Channels c = LoadBgr<3>(bgr + 3 * x);
    // Sums of adjacent pixels: U01 U23 V01 V23 in each lane.
    const __m256 sums = _mm256_hadd_ps(UOf(c), VOf(c));
    const __m128i chroma = PackBytes(Nearest(sums * 0.5f + 128.0f));
    Store16(yuy2 + 2 * x, Shuffle<InterleaveYuy2>(_mm_unpacklo_epi64(Luma(c), chroma)));
  }
  if (width % 2 != 0) {
    // An odd last pixel carries its own U.
    const uint8_t* p = bgr + 3 * (width - 1);
    yuy2[2 * width - 1] = NearestToByte(RawU(p[2], p[1], p[0]) + 128.0f);
  }
}

// Chroma of the last block of an odd width, which covers the last two columns (one column for width 1).
void PatchLastBlock(const uint8_t* bgr_top, const uint8_t* bgr_bottom, uint8_t* u, uint8_t* v, int width) {
  const int x0 = std::max(width - 2, 0), x1 = width - 1;
  float sum_u = 0.0f, sum_v = 0.0f;
  for (const uint8_t* row : {bgr_top, bgr_bottom}) {
    for (const int x : {x0, x1}) {
      const uint8_t* p = row + 3 * x;
      sum_u += RawU(p[2], p[1], p[0]);
      sum_v += RawV(p[2], p[1], p[0]);
    }
  }
  u[width / 2] = NearestToByte(sum_u * 0.25f + 128.0f);
  v[width / 2] = NearestToByte(sum_v * 0.25f + 128.0f);
}

// Block sums of eight columns of two rows: U01 U23 V01 V23 | U45 U67 V45 V67. Stores the lumas on the way.
VIDMETRA_AVX2_INLINE __m256 BlockSums(const uint8_t* bgr_top, const uint8_t* bgr_bottom, uint8_t* y_top,
                                      uint8_t* y_bottom) {
  const Channels top = LoadBgr<3>(bgr_top), bottom = LoadBgr<3>(bgr_bottom);
  Store8(y_top, Luma(top));
  Store8(y_bottom, Luma(bottom));
  return _mm256_hadd_ps(UOf(top) + UOf(bottom), VOf(top) + VOf(bottom));
}

VIDMETRA_AVX2 void Rgb24To420(const uint8_t* bgr_top, const uint8_t* bgr_bottom, uint8_t* y_top, uint8_t* y_bottom,
                              uint8_t* u, uint8_t* v, int width) {
  for (int x = 0; x < width; x += 2 * kGroup) {
    const __m256 first = BlockSums(bgr_top + 3 * x, bgr_bottom + 3 * x, y_top + x, y_bottom + x);
    const int second_x = x + kGroup;
    const __m256 second =
        BlockSums(bgr_top + 3 * second_x, bgr_bottom + 3 * second_x, y_top + second_x, y_bottom + second_x);
    const __m128i chroma = Shuffle<SeparateChroma>(
        PackBytes(Nearest(first * 0.25f + 128.0f), Nearest(second * 0.25f + 128.0f)));
    Store8(u + x / 2, chroma);
    Store8(v + x / 2, _mm_srli_si128(chroma, 8));
  }
  if (width % 2 != 0) PatchLastBlock(bgr_top, bgr_bottom, u, v, width);
}

template <int kStep>
VIDMETRA_AVX2_INLINE void YuvToRgbRow(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* bgr, int width) {
  for (int x = 0; x < width; x += kGroup) {
    StorePixels<kStep>(bgr + kStep * x, InversePixels(Widen(Load8(y + x)), Widen(Load8(u + x)), Widen(Load8(v + x))));
  }
}

VIDMETRA_AVX2 void YuvToRgb(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* bgr, int step, int width) {
  if (step == 4) {
    YuvToRgbRow<4>(y, u, v, bgr, width);
  } else {
    YuvToRgbRow<3>(y, u, v, bgr, width);
  }
}

VIDMETRA_AVX2 void Yuy2ToRgb24(const uint8_t* yuy2, uint8_t* bgr, int width) {
  for (int x = 0; x < width; x += kGroup) {
    const __m128i pairs = Load16(yuy2 + 2 * x);
    StorePixels<3>(bgr + 3 * x, InversePixels(Widen(Shuffle<Every<0, 2>>(pairs)), Widen(Shuffle<Doubled<1, 4>>(pairs)),
                                              Widen(Shuffle<Doubled<3, 4>>(pairs))));
  }
}

VIDMETRA_AVX2 void Yuv420ToRgb24(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* bgr, int width) {
  for (int x = 0; x < width; x += kGroup) {
    int32_t u4, v4;
    std::memcpy(&u4, u + x / 2, sizeof u4);
    std::memcpy(&v4, v + x / 2, sizeof v4);
    StorePixels<3>(bgr + 3 * x, InversePixels(Widen(Load8(y + x)), Widen(Shuffle<Doubled<0, 1>>(_mm_cvtsi32_si128(u4))),
                                              Widen(Shuffle<Doubled<0, 1>>(_mm_cvtsi32_si128(v4)))));
  }
  if (width % 2 != 0 && width > 1) {
    // The last block of an odd width starts one column to the left, so it also covers column width - 2.
    const int x = width - 2, c = width / 2;
    const Bgr8 colour = NearestInverse(y[x], u[c], v[c]);
    uint8_t* p = bgr + 3 * x;
    p[0] = colour.b;
    p[1] = colour.g;
    p[2] = colour.r;
  }
}

VIDMETRA_AVX2 void YToRgb32(const uint8_t* y, uint8_t* bgrx, int width) {
  const __m256i fourth = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  for (int x = 0; x < width; x += kGroup) {
    uint8_t* out = bgrx + 4 * x;
    const __m256i grey = _mm256_mullo_epi32(_mm256_cvtepu8_epi32(Load8(y + x)), _mm256_set1_epi32(0x010101));
    const __m256i kept = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(out)), fourth);
    Store32(out, _mm256_or_si256(kept, grey));
  }
}

VIDMETRA_AVX2 void Rgb32ToRgb24(const uint8_t* bgrx, uint8_t* bgr, int width) {
  for (int x = 0; x < width; x += kGroup) {
    StorePixels<3>(bgr + 3 * x, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bgrx + 4 * x)));
  }
}

VIDMETRA_AVX2 void Rgb24ToRgb32(const uint8_t* bgr, uint8_t* bgrx, int width) {
  for (int x = 0; x < width; x += kGroup) Store32(bgrx + 4 * x, Shuffle<AddFourth>(LoadRgb24Lanes(bgr + 3 * x)));
}

}  // namespace

const RgbYuvKernels& Avx2RgbYuvKernels() {
  static const RgbYuvKernels kernels{RgbToYuv,    RgbToY,        Rgb24ToYuy2, Rgb24To420,   YuvToRgb,
                                     Yuy2ToRgb24, Yuv420ToRgb24, YToRgb32,    Rgb32ToRgb24, Rgb24ToRgb32};
  return kernels;
}

}  // namespace vidmetra

#endif
