#include "vidmetra/ssim_vector_kernels.h"

#ifdef VIDMETRA_X86_KERNELS
#include <immintrin.h>

#include <algorithm>

namespace vidmetra {
namespace {

#define VIDMETRA_AVX2 __attribute__((target("avx2")))

VIDMETRA_AVX2 inline __m256i Load(const int32_t* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
VIDMETRA_AVX2 inline void Store(int32_t* at, __m256i value) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
}

// The vectorised kernel needs three statistics instead of five: a and b share one 32-bit lane (b in the upper
// half; an 8 × 8 sum of either stays below 2^16, so the halves never carry into each other), and the index only
// uses Saa and Sbb through their sum.
constexpr int kPackedStatistics = 3;  // a + 2^16·b, a² + b², a·b

// One picture row into the ring: running column sums, and from row 7 on the window columns. Integer sums wrap
// modulo 2^32 on tall pictures, which leaves every difference of two of them, and so every window column, exact.
// False when a sample is not an integer from 0 to 255.
struct SamplePair {
  __m256i a;
  __m256i b;
};

// Eight samples of each plane as integers; `bad` collects the lanes where a sample is not an integer from 0 to 255.
VIDMETRA_AVX2 inline SamplePair LoadSamples(const float* a, const float* b, __m256i& bad) {
  const __m256 float_a = _mm256_loadu_ps(a);
  const __m256 float_b = _mm256_loadu_ps(b);
  const __m256i sample_a = _mm256_cvttps_epi32(float_a);
  const __m256i sample_b = _mm256_cvttps_epi32(float_b);
  const __m256 exact = _mm256_and_ps(_mm256_cmp_ps(_mm256_cvtepi32_ps(sample_a), float_a, _CMP_EQ_OQ),
                                     _mm256_cmp_ps(_mm256_cvtepi32_ps(sample_b), float_b, _CMP_EQ_OQ));
  // Negative values are large when compared unsigned, so one maximum tests both ends of the range.
  const __m256i limit = _mm256_set1_epi32(255);
  const __m256i in_range = _mm256_cmpeq_epi32(_mm256_max_epu32(_mm256_or_si256(sample_a, sample_b), limit), limit);
  bad = _mm256_or_si256(bad, _mm256_andnot_si256(_mm256_and_si256(_mm256_castps_si256(exact), in_range),
                                                 _mm256_set1_epi32(-1)));
  return {sample_a, sample_b};
}

// Bytes are always in range.
VIDMETRA_AVX2 inline SamplePair LoadSamples(const uint8_t* a, const uint8_t* b, __m256i&) {
  return {_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a))),
          _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(b)))};
}

template <typename Sample>
VIDMETRA_AVX2 bool AddRowAvx2(const Sample* a, const Sample* b, int width, size_t row_length,
                              const int32_t* previous, int32_t* current, int32_t* column) {
  __m256i bad = _mm256_setzero_si256();
  for (int x = 0; x < width; x += 8) {
    const auto [sample_a, sample_b] = LoadSamples(a + x, b + x, bad);
    const __m256i statistic[kPackedStatistics] = {
        _mm256_or_si256(sample_a, _mm256_slli_epi32(sample_b, 16)),
        _mm256_add_epi32(_mm256_mullo_epi32(sample_a, sample_a), _mm256_mullo_epi32(sample_b, sample_b)),
        _mm256_mullo_epi32(sample_a, sample_b)};
    for (int s = 0; s < kPackedStatistics; ++s) {
      const size_t at = s * row_length + static_cast<size_t>(x);
      const __m256i running = _mm256_add_epi32(Load(previous + at), statistic[s]);
      Store(current + at, running);
      if (column != nullptr) Store(column + at, _mm256_sub_epi32(running, Load(column + at)));
    }
  }
  return _mm256_testz_si256(bad, bad) != 0;
}

VIDMETRA_AVX2 inline __m256i SumOfEightColumns(const int32_t* column) {
  const __m256i pairs_low = _mm256_add_epi32(Load(column), Load(column + 1));
  const __m256i pairs_high = _mm256_add_epi32(Load(column + 2), Load(column + 3));
  const __m256i pairs_next_low = _mm256_add_epi32(Load(column + 4), Load(column + 5));
  const __m256i pairs_next_high = _mm256_add_epi32(Load(column + 6), Load(column + 7));
  return _mm256_add_epi32(_mm256_add_epi32(pairs_low, pairs_high), _mm256_add_epi32(pairs_next_low, pairs_next_high));
}

// The indices of the windows x .. x + 7 of one window row, each term formed exactly in 32 bits: with 8-bit
// samples no window sum term exceeds 2·64²·255² < 2^31.
VIDMETRA_AVX2 inline __m256 WindowIndicesAvx2(const int32_t* column, size_t row_length, int x) {
  const __m256i packed = SumOfEightColumns(column + x);
  const __m256i sa = _mm256_and_si256(packed, _mm256_set1_epi32(0xFFFF));
  const __m256i sb = _mm256_srli_epi32(packed, 16);
  const __m256i squares = SumOfEightColumns(column + row_length + x);
  const __m256i sab = SumOfEightColumns(column + 2 * row_length + x);
  const __m256i a_b = _mm256_mullo_epi32(sa, sb);
  const __m256i mean_squares = _mm256_add_epi32(_mm256_mullo_epi32(sa, sa), _mm256_mullo_epi32(sb, sb));
  const __m256i covariance2 = _mm256_slli_epi32(_mm256_sub_epi32(_mm256_slli_epi32(sab, 6), a_b), 1);
  const __m256i variances = _mm256_sub_epi32(_mm256_slli_epi32(squares, 6), mean_squares);
  const __m256 c1 = _mm256_set1_ps(kSsimC1);
  const __m256 c2 = _mm256_set1_ps(kSsimC2);
  const __m256 numerator = _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(_mm256_slli_epi32(a_b, 1)), c1),
                                         _mm256_add_ps(_mm256_cvtepi32_ps(covariance2), c2));
  const __m256 denominator = _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(mean_squares), c1),
                                           _mm256_add_ps(_mm256_cvtepi32_ps(variances), c2));
  return _mm256_div_ps(numerator, denominator);
}

// Indices below SsimIndexSum::kFineLimit in magnitude, other than zero, one at a time.
VIDMETRA_AVX2 void AddSmall(__m256 index, int small, SsimIndexSum& sum) {
  alignas(32) float indices[8];
  _mm256_store_ps(indices, index);
  for (int lane = 0; lane < 8; ++lane) {
    if ((small >> lane) & 1) sum.Add(indices[lane]);
  }
}

// The indices of one window row, as whole fine units of SsimIndexSum summed in four double lanes (exact: a row
// adds fewer than 2^16 units of at most 2^36 to a lane), the rare small ones straight into `sum`.
VIDMETRA_AVX2 __m256d WindowRowAvx2(const int32_t* column, size_t row_length, int width, float* map_row,
                                    SsimIndexSum& sum) {
  const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256 map_scale = _mm256_set1_ps(255.0f);
  const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
  __m256d units = _mm256_setzero_pd();
  for (int x = 0; x + 8 <= width; x += 8) {
    const __m256i valid = _mm256_cmpgt_epi32(_mm256_set1_epi32(width - 7 - x), lane);
    const __m256 index = _mm256_and_ps(WindowIndicesAvx2(column, row_length, x), _mm256_castsi256_ps(valid));
    const __m256 fine = _mm256_cmp_ps(_mm256_and_ps(index, magnitude), _mm256_set1_ps(SsimIndexSum::kFineLimit),
                                      _CMP_GE_OQ);
    const __m256 scaled = _mm256_and_ps(_mm256_mul_ps(index, _mm256_set1_ps(SsimIndexSum::kFineScale)), fine);
    units = _mm256_add_pd(units, _mm256_add_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(scaled)),
                                               _mm256_cvtps_pd(_mm256_extractf128_ps(scaled, 1))));
    const __m256 nonzero = _mm256_cmp_ps(index, _mm256_setzero_ps(), _CMP_NEQ_UQ);
    const int small = _mm256_movemask_ps(_mm256_andnot_ps(fine, nonzero));
    if (small != 0) AddSmall(index, small, sum);
    if (map_row == nullptr) continue;
    const __m256 value = _mm256_sub_ps(map_scale, _mm256_mul_ps(map_scale, index));
    _mm256_maskstore_ps(map_row + x + 7, valid, value);
    if (x == 0) std::fill_n(map_row, 7, _mm256_cvtss_f32(value));
  }
  return units;
}

template <typename Sample>
VIDMETRA_AVX2 bool SumOf(const SsimPlanesOf<Sample>& planes, float* map, SsimScratch& scratch,
                         SsimIndexSum& result) {
  const int width = planes.width;
  const size_t row_length = SsimRingRowLength(width);
  const size_t ring_row = row_length * kPackedStatistics;
  int32_t* ring = scratch.IntegerRows(ring_row * kSsimRingRows);
  std::fill_n(ring, ring_row * kSsimRingRows, 0);
  SsimIndexSum sum;
  for (int r = planes.row_begin - 7; r < planes.End(); ++r) {
    int32_t* column = r < planes.row_begin ? nullptr : ring + static_cast<size_t>((r + 1) % kSsimRingRows) * ring_row;
    const ptrdiff_t offset = static_cast<ptrdiff_t>(r) * width;
    if (!AddRowAvx2(planes.a + offset, planes.b + offset, width, row_length,
                    ring + static_cast<size_t>((r + 8) % kSsimRingRows) * ring_row,
                    ring + static_cast<size_t>(r % kSsimRingRows) * ring_row, column)) {
      return false;
    }
    if (column == nullptr) continue;
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, WindowRowAvx2(column, row_length, width, map == nullptr ? nullptr : map + offset, sum));
    for (const double units : lanes) sum.AddFine(static_cast<int64_t>(units));
  }
  result.Add(sum);
  return true;
}

}  // namespace

VIDMETRA_AVX2 bool SsimSumAvx2(const SsimPlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum) {
  return SumOf(planes, map, scratch, sum);
}

VIDMETRA_AVX2 bool SsimSumAvx2(const SsimBytePlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum) {
  return SumOf(planes, map, scratch, sum);
}

}  // namespace vidmetra
#endif
