#include "vidmetra/ssim_kernels.h"

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VIDMETRA_HAS_AVX2_KERNEL 1
#endif

namespace vidmetra {
namespace {

// The SSIM stabilisers (0.01·255)² and (0.03·255)², scaled by 64² because the index is formed from sums.
constexpr float kC1 = 26634.24f;
constexpr float kC2 = 239708.16f;
constexpr int kStatistics = 5;  // a, b, a², b², a·b
constexpr int kRingRows = 9;

// Every window row uses its own row of the ring: a running column sum of rows 0..r in ring row r mod 9.
size_t RingRowLength(int width) { return static_cast<size_t>(width / 8) * 8 + 8; }
size_t RingEntries(int width) { return RingRowLength(width) * kStatistics * kRingRows; }

// The four products of the index formula, each exact for integer sums; the ratio is then formed in single
// precision. Whatever the rounding, identical inputs give the same numerator and denominator, and since each
// numerator factor is at most its denominator factor before rounding, no window exceeds 1.
float IndexFromTerms(float mean_product, float mean_squares, float covariance2, float variances) {
  return ((mean_product + kC1) * (covariance2 + kC2)) / ((mean_squares + kC1) * (variances + kC2));
}

}  // namespace

double* SsimScratch::DoubleRing(size_t entries) {
  if (doubles_.size() < entries) doubles_.resize(entries);
  return doubles_.data();
}

int32_t* SsimScratch::IntegerRing(size_t entries) {
  if (integers_.size() < entries) integers_.resize(entries);
  return integers_.data();
}

float SsimWindowIndex(double sa, double sb, double saa, double sbb, double sab) {
  const double a_b = sa * sb;
  const double mean_squares = sa * sa + sb * sb;
  return IndexFromTerms(static_cast<float>(2.0 * a_b), static_cast<float>(mean_squares),
                        static_cast<float>(2.0 * (64.0 * sab - a_b)),
                        static_cast<float>(64.0 * (saa + sbb) - mean_squares));
}

double SsimSumScalar(const SsimPlanes& planes, float* map, SsimScratch& scratch) {
  const int width = planes.width;
  const size_t row_length = RingRowLength(width);
  const size_t ring_row = row_length * kStatistics;
  double* ring = scratch.DoubleRing(RingEntries(width));
  const int start = planes.row_begin - 7;
  std::fill_n(ring + static_cast<size_t>((start + 8) % kRingRows) * ring_row, ring_row, 0.0);
  double sum = 0.0;
  for (int r = start; r < planes.End(); ++r) {
    double* current = ring + static_cast<size_t>(r % kRingRows) * ring_row;
    const double* previous = ring + static_cast<size_t>((r + 8) % kRingRows) * ring_row;
    const float* a = planes.a + static_cast<ptrdiff_t>(r) * width;
    const float* b = planes.b + static_cast<ptrdiff_t>(r) * width;
    for (int x = 0; x < width; ++x) {
      const double sample_a = a[x];
      const double sample_b = b[x];
      const double statistic[kStatistics] = {sample_a, sample_b, sample_a * sample_a, sample_b * sample_b,
                                             sample_a * sample_b};
      for (int s = 0; s < kStatistics; ++s) current[s * row_length + x] = previous[s * row_length + x] + statistic[s];
    }
    if (r < planes.row_begin) continue;
    // The oldest ring row still holds the running sum up to row r − 8: the difference is the window column,
    // stored where the next row's running sum will go.
    double* column = ring + static_cast<size_t>((r + 1) % kRingRows) * ring_row;
    for (size_t i = 0; i < ring_row; ++i) column[i] = current[i] - column[i];
    double window[kStatistics] = {};
    for (int s = 0; s < kStatistics; ++s) {
      for (int x = 0; x < 8; ++x) window[s] += column[s * row_length + x];
    }
    float* map_row = map == nullptr ? nullptr : map + static_cast<ptrdiff_t>(r) * width;
    for (int x = 0; x + 8 <= width; ++x) {
      if (x > 0) {
        for (int s = 0; s < kStatistics; ++s) {
          window[s] += column[s * row_length + x + 7] - column[s * row_length + x - 1];
        }
      }
      const float index = SsimWindowIndex(window[0], window[1], window[2], window[3], window[4]);
      sum += index;
      if (map_row == nullptr) continue;
      if (x == 0) std::fill_n(map_row, 7, SsimMapValue(index));
      map_row[x + 7] = SsimMapValue(index);
    }
  }
  return sum;
}

#ifdef VIDMETRA_HAS_AVX2_KERNEL
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
VIDMETRA_AVX2 bool AddRowAvx2(const float* a, const float* b, int width, size_t row_length, const int32_t* previous,
                              int32_t* current, int32_t* column) {
  const __m256i limit = _mm256_set1_epi32(255);
  __m256i bad = _mm256_setzero_si256();
  for (int x = 0; x < width; x += 8) {
    const __m256 float_a = _mm256_loadu_ps(a + x);
    const __m256 float_b = _mm256_loadu_ps(b + x);
    const __m256i sample_a = _mm256_cvttps_epi32(float_a);
    const __m256i sample_b = _mm256_cvttps_epi32(float_b);
    const __m256 exact = _mm256_and_ps(_mm256_cmp_ps(_mm256_cvtepi32_ps(sample_a), float_a, _CMP_EQ_OQ),
                                       _mm256_cmp_ps(_mm256_cvtepi32_ps(sample_b), float_b, _CMP_EQ_OQ));
    // Negative values are large when compared unsigned, so one maximum tests both ends of the range.
    const __m256i in_range = _mm256_cmpeq_epi32(_mm256_max_epu32(_mm256_or_si256(sample_a, sample_b), limit), limit);
    bad = _mm256_or_si256(bad, _mm256_andnot_si256(_mm256_and_si256(_mm256_castps_si256(exact), in_range),
                                                   _mm256_set1_epi32(-1)));
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
  const __m256 c1 = _mm256_set1_ps(kC1);
  const __m256 c2 = _mm256_set1_ps(kC2);
  const __m256 numerator = _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(_mm256_slli_epi32(a_b, 1)), c1),
                                         _mm256_add_ps(_mm256_cvtepi32_ps(covariance2), c2));
  const __m256 denominator = _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(mean_squares), c1),
                                           _mm256_add_ps(_mm256_cvtepi32_ps(variances), c2));
  return _mm256_div_ps(numerator, denominator);
}

VIDMETRA_AVX2 void WindowRowAvx2(const int32_t* column, size_t row_length, int width, float* map_row, __m256d& sum) {
  const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256 map_scale = _mm256_set1_ps(255.0f);
  for (int x = 0; x + 8 <= width; x += 8) {
    const __m256i valid = _mm256_cmpgt_epi32(_mm256_set1_epi32(width - 7 - x), lane);
    const __m256 index = _mm256_and_ps(WindowIndicesAvx2(column, row_length, x), _mm256_castsi256_ps(valid));
    sum = _mm256_add_pd(sum, _mm256_add_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(index)),
                                           _mm256_cvtps_pd(_mm256_extractf128_ps(index, 1))));
    if (map_row == nullptr) continue;
    const __m256 value = _mm256_sub_ps(map_scale, _mm256_mul_ps(map_scale, index));
    _mm256_maskstore_ps(map_row + x + 7, valid, value);
    if (x == 0) std::fill_n(map_row, 7, _mm256_cvtss_f32(value));
  }
}

VIDMETRA_AVX2 bool SsimSumAvx2(const SsimPlanes& planes, float* map, SsimScratch& scratch, double& result) {
  const int width = planes.width;
  const size_t row_length = RingRowLength(width);
  const size_t ring_row = row_length * kPackedStatistics;
  int32_t* ring = scratch.IntegerRing(ring_row * kRingRows);
  std::fill_n(ring, ring_row * kRingRows, 0);
  __m256d sum = _mm256_setzero_pd();
  for (int r = planes.row_begin - 7; r < planes.End(); ++r) {
    int32_t* column = r < planes.row_begin ? nullptr : ring + static_cast<size_t>((r + 1) % kRingRows) * ring_row;
    const ptrdiff_t offset = static_cast<ptrdiff_t>(r) * width;
    if (!AddRowAvx2(planes.a + offset, planes.b + offset, width, row_length,
                    ring + static_cast<size_t>((r + 8) % kRingRows) * ring_row,
                    ring + static_cast<size_t>(r % kRingRows) * ring_row, column)) {
      return false;
    }
    if (column != nullptr) WindowRowAvx2(column, row_length, width, map == nullptr ? nullptr : map + offset, sum);
  }
  alignas(32) double lanes[4];
  _mm256_store_pd(lanes, sum);
  result = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
  return true;
}

}  // namespace
#endif

bool SsimSumVector(const SsimPlanes& planes, float* map, SsimScratch& scratch, double& sum) {
#ifdef VIDMETRA_HAS_AVX2_KERNEL
  static const bool supported = __builtin_cpu_supports("avx2");
  if (supported && planes.width % 8 == 0 && planes.width >= 8) return SsimSumAvx2(planes, map, scratch, sum);
#endif
  (void)planes, (void)map, (void)scratch, (void)sum;
  return false;
}

double SsimSum(const SsimPlanes& planes, float* map, SsimScratch& scratch) {
  double sum = 0.0;
  if (SsimSumVector(planes, map, scratch, sum)) return sum;
  return SsimSumScalar(planes, map, scratch);
}

}  // namespace vidmetra
