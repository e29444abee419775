#include "vidmetra/vqm_vector_lanes.h"

#ifdef VIDMETRA_X86_KERNELS
#include "vidmetra/avx512_intrinsics.h"

#include <array>

namespace vidmetra {
namespace {

static_assert(kDctLanes == 8, "one picture row of a lane group is 64 samples, four vectors");

// Where each interleaved entry of a lane row (entry 8·x + j: column x of block j) lies in the two vectors that
// packing the four converted vectors of the picture row gives. Packing two vectors of 16 integers interleaves
// them by 128-bit lanes: four of the first, four of the second, and so on.
constexpr std::array<uint16_t, 64> CaptureOrder() {
  std::array<uint16_t, 64> order{};
  for (int entry = 0; entry < 64; ++entry) {
    const int sample = 8 * (entry % 8) + entry / 8;
    const int in_pair = sample % 32;
    const int in_vector = in_pair % 16;
    order[static_cast<size_t>(entry)] =
        static_cast<uint16_t>(32 * (sample / 32) + 8 * (in_vector / 4) + (in_pair >= 16 ? 4 : 0) + in_vector % 4);
  }
  return order;
}
alignas(64) constexpr std::array<uint16_t, 64> kCaptureOrder = CaptureOrder();

// The same for bytes widened in picture order, samples 0 … 31 in the first vector and 32 … 63 in the second: the
// entry's sample is its index into the pair.
constexpr std::array<uint16_t, 64> ByteCaptureOrder() {
  std::array<uint16_t, 64> order{};
  for (int entry = 0; entry < 64; ++entry) order[static_cast<size_t>(entry)] = static_cast<uint16_t>(8 * (entry % 8) + entry / 8);
  return order;
}
alignas(64) constexpr std::array<uint16_t, 64> kByteCaptureOrder = ByteCaptureOrder();

// VqmCaptureSample on 16 samples: saturated at the 16-bit limits before the truncating conversion, NaN as 0.
VIDMETRA_AVX512 inline __m512i CaptureVector(const float* samples, __mmask16 lanes) {
  const __m512 x = _mm512_maskz_loadu_ps(lanes, samples);
  const __m512 limited = _mm512_min_ps(_mm512_max_ps(x, _mm512_set1_ps(-32768.0f)), _mm512_set1_ps(32767.0f));
  return _mm512_maskz_cvttps_epi32(_mm512_cmp_ps_mask(x, x, _CMP_ORD_Q), limited);
}

// Each block weight repeated for the eight lanes, as floats, so that two coefficients' weights are one load.
std::array<float, 64 * kDctLanes> LaneWeights() {
  std::array<float, 64 * kDctLanes> weights{};
  for (size_t i = 0; i < weights.size(); ++i) weights[i] = VqmWeight(static_cast<int>(i / kDctLanes));
  return weights;
}

// Coefficients i and i + 1 of the eight blocks, scaled by their contrast and divided by their weights.
VIDMETRA_AVX512 inline __m512 Weighted(const int16_t* coefficients, __m512 contrast, __m512 weight) {
  const __m512i words = _mm512_cvtepi16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(coefficients)));
  return _mm512_div_ps(_mm512_mul_ps(_mm512_cvtepi32_ps(words), contrast), weight);
}

// The contrast factors of the eight blocks of `a` in the lower half, of `b` in the upper, looked up in the
// table together; a DC outside it (never one of an 8-bit picture) is worked out on its own.
VIDMETRA_AVX512 inline __m512 Contrasts(const int16_t* a, const int16_t* b) {
  const __m512i dcs = _mm512_cvtepi16_epi32(_mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)), 1));
  const __mmask16 tabulated = _mm512_cmplt_epu32_mask(dcs, _mm512_set1_epi32(kVqmTabulatedDcs));
  __m512 factors = _mm512_mask_i32gather_ps(_mm512_setzero_ps(), tabulated, dcs, VqmContrastTable(), 4);
  if (tabulated != 0xFFFF) {
    alignas(64) float each[16];
    _mm512_store_ps(each, factors);
    for (int j = 0; j < 16; ++j) {
      if (((tabulated >> j) & 1) == 0) each[j] = VqmContrast(j < 8 ? a[j] : b[j - 8]);
    }
    factors = _mm512_load_ps(each);
  }
  return factors;
}

}  // namespace

// Lanes beyond `count` blocks are loaded as zeros, without touching their memory.
VIDMETRA_AVX512 void VqmCaptureLanesAvx512(const float* plane, int width, int count, int16_t* lanes) {
  const __m512i first_half = _mm512_load_si512(kCaptureOrder.data());
  const __m512i second_half = _mm512_load_si512(kCaptureOrder.data() + 32);
  const uint64_t valid = count >= kDctLanes ? ~uint64_t{0} : (uint64_t{1} << (8 * count)) - 1;
  for (int y = 0; y < 8; ++y) {
    const float* row = plane + static_cast<ptrdiff_t>(y) * width;
    // Eight rows of each picture stream side by side, more than the processor's prefetcher follows: ask for the
    // lane group after the next one (prefetching past the picture's end is harmless).
    for (int line = 0; line < 4; ++line) {
      _mm_prefetch(reinterpret_cast<const char*>(row + 2 * 64 + 16 * line), _MM_HINT_T0);
    }
    __m512i converted[4];
    for (int k = 0; k < 4; ++k) converted[k] = CaptureVector(row + 16 * k, static_cast<__mmask16>(valid >> (16 * k)));
    const __m512i low = _mm512_packs_epi32(converted[0], converted[1]);
    const __m512i high = _mm512_packs_epi32(converted[2], converted[3]);
    _mm512_storeu_si512(lanes + 64 * y, _mm512_permutex2var_epi16(low, first_half, high));
    _mm512_storeu_si512(lanes + 64 * y + 32, _mm512_permutex2var_epi16(low, second_half, high));
  }
}

VIDMETRA_AVX512 void VqmCaptureByteLanesAvx512(const uint8_t* plane, int width, int count, int16_t* lanes) {
  const __m512i first_half = _mm512_load_si512(kByteCaptureOrder.data());
  const __m512i second_half = _mm512_load_si512(kByteCaptureOrder.data() + 32);
  const __mmask64 valid = count >= kDctLanes ? ~__mmask64{0} : (__mmask64{1} << (8 * count)) - 1;
  for (int y = 0; y < 8; ++y) {
    const uint8_t* samples = plane + static_cast<ptrdiff_t>(y) * width;
    _mm_prefetch(reinterpret_cast<const char*>(samples + 2 * 64), _MM_HINT_T0);  // as the float capture does
    const __m512i row = _mm512_maskz_loadu_epi8(valid, samples);
    const __m512i low = _mm512_cvtepu8_epi16(_mm512_castsi512_si256(row));
    const __m512i high = _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(row, 1));
    _mm512_storeu_si512(lanes + 64 * y, _mm512_permutex2var_epi16(low, first_half, high));
    _mm512_storeu_si512(lanes + 64 * y + 32, _mm512_permutex2var_epi16(low, second_half, high));
  }
}

// Two coefficients per vector, the first in the lower half: the sum takes the lower half before the upper, so
// every lane adds its block's differences in the reference's order.
VIDMETRA_AVX512 VqmLaneStatistics VqmCompareLanesAvx512(const int16_t* a, const int16_t* b) {
  static const std::array<float, 64 * kDctLanes> weights = LaneWeights();
  const __m512 contrasts = Contrasts(a, b);
  const __m512 contrast_a = _mm512_shuffle_f32x4(contrasts, contrasts, 0x44);  // the lower half twice
  const __m512 contrast_b = _mm512_shuffle_f32x4(contrasts, contrasts, 0xEE);  // the upper half twice
  const __m512i magnitude = _mm512_set1_epi32(0x7FFFFFFF);  // fabs by its definition: the sign bit cleared
  __m256 sum = _mm256_setzero_ps();
  __m512 maximum = _mm512_setzero_ps();
  for (int i = 0; i < 64; i += 2) {
    const __m512 weight = _mm512_loadu_ps(weights.data() + kDctLanes * i);
    const __m512 difference = _mm512_castsi512_ps(_mm512_and_si512(
        _mm512_castps_si512(_mm512_sub_ps(Weighted(a + kDctLanes * i, contrast_a, weight),
                                          Weighted(b + kDctLanes * i, contrast_b, weight))),
        magnitude));
    sum = _mm256_add_ps(sum, _mm512_castps512_ps256(difference));
    sum = _mm256_add_ps(sum, _mm512_extractf32x8_ps(difference, 1));
    maximum = _mm512_max_ps(difference, maximum);  // keeps the maximum on ties and NaN, as std::max does
  }
  VqmLaneStatistics statistics;
  _mm256_storeu_ps(statistics.mean, _mm256_mul_ps(sum, _mm256_set1_ps(0.015625f)));
  const __m256 lower = _mm512_castps512_ps256(maximum);
  const __m256 upper = _mm512_extractf32x8_ps(maximum, 1);
  _mm256_storeu_ps(statistics.maximum, _mm256_max_ps(upper, lower));
  return statistics;
}

}  // namespace vidmetra
#endif
