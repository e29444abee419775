#include "vidmetra/ssim_vector_kernels.h"

#ifdef VIDMETRA_X86_KERNELS
#include "vidmetra/avx512_intrinsics.h"

#include <algorithm>

namespace vidmetra {
namespace {

constexpr int kLanes = 16;
// As in the AVX2 kernel, a and b share one 32-bit lane (b in the upper half) and the index only needs Saa + Sbb.
constexpr int kPackedStatistics = 3;  // a + 2^16·b, a² + b², a·b

// One row of window columns per statistic, in whole vectors plus the three the horizontal run reads ahead, so
// that it reads zeros instead of the next statistic.
size_t ColumnLength(int width) { return static_cast<size_t>((width + kLanes - 1) / kLanes + 3) * kLanes; }

struct RowStatistics {
  __m512i statistic[kPackedStatistics];
};

// The statistics of 16 samples of a and b; lanes outside `lanes` are zero.
VIDMETRA_AVX512 inline RowStatistics Statistics(__m512i sample_a, __m512i sample_b) {
  // madd pairs the 16-bit halves: on a + 2^16·b with itself it gives a² + b², against b alone a·b.
  const __m512i packed = _mm512_or_si512(sample_a, _mm512_slli_epi32(sample_b, 16));
  return {{packed, _mm512_madd_epi16(packed, packed), _mm512_madd_epi16(packed, sample_b)}};
}

// Samples of a row already checked when it entered the window.
VIDMETRA_AVX512 inline RowStatistics KnownStatistics(const float* a, const float* b, __mmask16 lanes) {
  return Statistics(_mm512_cvttps_epi32(_mm512_maskz_loadu_ps(lanes, a)),
                    _mm512_cvttps_epi32(_mm512_maskz_loadu_ps(lanes, b)));
}
VIDMETRA_AVX512 inline RowStatistics KnownStatistics(const uint8_t* a, const uint8_t* b, __mmask16 lanes) {
  return Statistics(_mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(lanes, a)),
                    _mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(lanes, b)));
}

// Tracks whether the samples are integers from 0 to 255: `inexact` collects the bits in which a sample differs
// from its truncation, `seen` every bit of every truncated sample (negative ones set the high bits).
struct SampleCheck {
  __m512i inexact;
  __m512i seen;
  VIDMETRA_AVX512 bool Passed() const {
    const __m512i above_byte = _mm512_andnot_si512(_mm512_set1_epi32(0xFF), seen);
    return _mm512_test_epi32_mask(_mm512_or_si512(inexact, above_byte), _mm512_set1_epi32(-1)) == 0;
  }
};

VIDMETRA_AVX512 inline RowStatistics CheckedStatistics(const float* a, const float* b, __mmask16 lanes,
                                                       SampleCheck& check) {
  const __m512 float_a = _mm512_maskz_loadu_ps(lanes, a);
  const __m512 float_b = _mm512_maskz_loadu_ps(lanes, b);
  const __m512i sample_a = _mm512_cvttps_epi32(float_a);
  const __m512i sample_b = _mm512_cvttps_epi32(float_b);
  // 0xF6 is x | (y ^ z), 0xFE is x | y | z.
  check.inexact = _mm512_ternarylogic_epi32(check.inexact, _mm512_castps_si512(float_a),
                                            _mm512_castps_si512(_mm512_cvtepi32_ps(sample_a)), 0xF6);
  check.inexact = _mm512_ternarylogic_epi32(check.inexact, _mm512_castps_si512(float_b),
                                            _mm512_castps_si512(_mm512_cvtepi32_ps(sample_b)), 0xF6);
  check.seen = _mm512_ternarylogic_epi32(check.seen, sample_a, sample_b, 0xFE);
  return Statistics(sample_a, sample_b);
}
// Bytes are always integers from 0 to 255.
VIDMETRA_AVX512 inline RowStatistics CheckedStatistics(const uint8_t* a, const uint8_t* b, __mmask16 lanes,
                                                       SampleCheck&) {
  return KnownStatistics(a, b, lanes);
}

// One vector of a picture row into the window columns: the samples of `row` enter, those of row r − 8 leave
// when `leaving`.
template <typename Sample>
VIDMETRA_AVX512 inline void SlideVector(const SsimPlanesOf<Sample>& planes, ptrdiff_t row, ptrdiff_t old_row, bool leaving,
                                        __mmask16 lanes, int32_t* column, size_t length, SampleCheck& check) {
  const RowStatistics entering = CheckedStatistics(planes.a + row, planes.b + row, lanes, check);
  RowStatistics change = entering;
  if (leaving) {
    const RowStatistics left = KnownStatistics(planes.a + old_row, planes.b + old_row, lanes);
    for (int s = 0; s < kPackedStatistics; ++s) {
      change.statistic[s] = _mm512_sub_epi32(entering.statistic[s], left.statistic[s]);
    }
  }
  for (int s = 0; s < kPackedStatistics; ++s) {
    int32_t* at = column + s * length;
    _mm512_storeu_si512(at, _mm512_add_epi32(_mm512_loadu_si512(at), change.statistic[s]));
  }
}

// Adds picture row r to the window columns and, from the ninth row of the band on, takes row r − 8 out again:
// the columns then hold the sums over the eight rows of the next window row, exact in 32 bits. Widths are
// multiples of 8, so a row ends in a full or a half vector.
template <typename Sample>
VIDMETRA_AVX512 bool SlideColumns(const SsimPlanesOf<Sample>& planes, int r, int first_row, size_t length, int32_t* columns) {
  const int width = planes.width;
  const ptrdiff_t row = static_cast<ptrdiff_t>(r) * width;
  const ptrdiff_t old_row = row - 8 * static_cast<ptrdiff_t>(width);
  const bool leaving = r - 8 >= first_row;
  // The planes were just written and mostly sit in the shared cache; asking for the next row now hides the wait.
  const ptrdiff_t next_row = r + 1 < planes.height ? row + width : row;
  SampleCheck check{_mm512_setzero_si512(), _mm512_setzero_si512()};
  int x = 0;
  for (; x + kLanes <= width; x += kLanes) {
    _mm_prefetch(reinterpret_cast<const char*>(planes.a + next_row + x), _MM_HINT_T0);
    _mm_prefetch(reinterpret_cast<const char*>(planes.b + next_row + x), _MM_HINT_T0);
    SlideVector(planes, row + x, old_row + x, leaving, 0xFFFF, columns + x, length, check);
  }
  if (x < width) SlideVector(planes, row + x, old_row + x, leaving, 0x00FF, columns + x, length, check);
  return check.Passed();
}

// Sums of eight neighbouring window columns, 16 windows at a time from left to right. Each of three levels adds
// a vector to itself shifted by 1, 2 and then 4 lanes; the lanes shifted in come from the next vector of the
// same level, so the levels run two and one vectors ahead of the output.
class EightColumnRun {
 public:
  VIDMETRA_AVX512 explicit EightColumnRun(const int32_t* columns) : next_(columns + 3 * kLanes) {
    const __m512i first = _mm512_loadu_si512(columns);
    const __m512i second = _mm512_loadu_si512(columns + kLanes);
    columns_ = _mm512_loadu_si512(columns + 2 * kLanes);
    pairs_ = Pairs(second, columns_);
    quads_ = Quads(Pairs(first, second), pairs_);
  }
  // The sums of the next 16 windows. Reads three vectors past them.
  VIDMETRA_AVX512 __m512i Next() {
    const __m512i ahead = _mm512_loadu_si512(next_);
    next_ += kLanes;
    const __m512i pairs = Pairs(columns_, ahead);
    const __m512i quads = Quads(pairs_, pairs);
    const __m512i eights = _mm512_add_epi32(quads_, _mm512_alignr_epi32(quads, quads_, 4));
    columns_ = ahead;
    pairs_ = pairs;
    quads_ = quads;
    return eights;
  }

 private:
  VIDMETRA_AVX512 static __m512i Pairs(__m512i here, __m512i next) {
    return _mm512_add_epi32(here, _mm512_alignr_epi32(next, here, 1));
  }
  VIDMETRA_AVX512 static __m512i Quads(__m512i here, __m512i next) {
    return _mm512_add_epi32(here, _mm512_alignr_epi32(next, here, 2));
  }

  const int32_t* next_;
  __m512i columns_;  // two vectors ahead of the output
  __m512i pairs_;    // one ahead
  __m512i quads_;    // at the output
};

// The indices of the next 16 windows of a window row, zero outside `valid`. Every term is exact in 32 bits (no
// window sum term of 8-bit samples exceeds 2·64²·255² < 2^31), and Sa, Sb < 2^14 fit the signed 16-bit halves
// madd multiplies.
VIDMETRA_AVX512 inline __m512 WindowIndices(EightColumnRun (&runs)[kPackedStatistics], __mmask16 valid) {
  const __m512i packed = runs[0].Next();
  const __m512i squares = runs[1].Next();
  const __m512i sab = runs[2].Next();
  const __m512i a_b = _mm512_madd_epi16(packed, _mm512_srli_epi32(packed, 16));
  const __m512i mean_squares = _mm512_madd_epi16(packed, packed);
  const __m512i covariance2 = _mm512_slli_epi32(_mm512_sub_epi32(_mm512_slli_epi32(sab, 6), a_b), 1);
  const __m512i variances = _mm512_sub_epi32(_mm512_slli_epi32(squares, 6), mean_squares);
  const __m512 c1 = _mm512_set1_ps(kSsimC1);
  const __m512 c2 = _mm512_set1_ps(kSsimC2);
  const __m512 numerator = _mm512_mul_ps(_mm512_add_ps(_mm512_cvtepi32_ps(_mm512_slli_epi32(a_b, 1)), c1),
                                         _mm512_add_ps(_mm512_cvtepi32_ps(covariance2), c2));
  const __m512 denominator = _mm512_mul_ps(_mm512_add_ps(_mm512_cvtepi32_ps(mean_squares), c1),
                                           _mm512_add_ps(_mm512_cvtepi32_ps(variances), c2));
  return _mm512_maskz_div_ps(valid, numerator, denominator);
}

// The indices of one window row, as whole fine units of SsimIndexSum summed in eight double lanes (exact: a row
// adds fewer than 2^16 units of at most 2^36 to a lane). The rare small ones are packed into `small` for the
// caller to add one by one, so that no call inside the loop makes the compiler keep its vectors in memory.
VIDMETRA_AVX512 __m512d WindowRow(const int32_t* columns, size_t length, int width, float* map_row, float* small,
                                  int& small_count) {
  const int windows = width - 7;
  __m512d units = _mm512_setzero_pd();
  const __m512 map_scale = _mm512_set1_ps(255.0f);
  const __m512 fine_limit = _mm512_set1_ps(SsimIndexSum::kFineLimit);
  const __m512 fine_scale = _mm512_set1_ps(SsimIndexSum::kFineScale);
  EightColumnRun runs[kPackedStatistics] = {EightColumnRun(columns), EightColumnRun(columns + length),
                                            EightColumnRun(columns + 2 * length)};
  for (int x = 0; x < windows; x += kLanes) {
    const auto valid = static_cast<__mmask16>(windows - x >= kLanes ? 0xFFFFu : (1u << (windows - x)) - 1);
    const __m512 index = WindowIndices(runs, valid);
    const __mmask16 fine = _mm512_cmp_ps_mask(_mm512_abs_ps(index), fine_limit, _CMP_GE_OQ);
    const __m512 scaled = _mm512_maskz_mul_ps(fine, index, fine_scale);
    units = _mm512_add_pd(units, _mm512_add_pd(_mm512_cvtps_pd(_mm512_castps512_ps256(scaled)),
                                               _mm512_cvtps_pd(_mm512_extractf32x8_ps(scaled, 1))));
    const __mmask16 tiny =
        _mm512_mask_cmp_ps_mask(static_cast<__mmask16>(~fine), index, _mm512_setzero_ps(), _CMP_NEQ_UQ);
    if (tiny != 0) {  // a compressing store costs much even when it stores nothing
      _mm512_mask_compressstoreu_ps(small + small_count, tiny, index);
      small_count += __builtin_popcount(tiny);
    }
    if (map_row == nullptr) continue;
    const __m512 value = _mm512_sub_ps(map_scale, _mm512_mul_ps(map_scale, index));
    _mm512_mask_storeu_ps(map_row + x + 7, valid, value);
    if (x == 0) std::fill_n(map_row, 7, _mm512_cvtss_f32(value));
  }
  return units;
}

// Instead of a ring of running sums, one row of window columns per statistic slides down the band: each picture
// row enters it once and leaves it eight rows later, re-read from the planes, which are still in cache.
template <typename Sample>
VIDMETRA_AVX512 bool SumOf(const SsimPlanesOf<Sample>& planes, float* map, SsimScratch& scratch,
                           SsimIndexSum& result) {
  const size_t length = ColumnLength(planes.width);
  int32_t* columns = scratch.IntegerRows(length * kPackedStatistics);
  std::fill_n(columns, length * kPackedStatistics, 0);
  const int first_row = planes.row_begin - 7;
  float* small = scratch.Indices(static_cast<size_t>(planes.width));
  SsimIndexSum sum;
  __m512i units = _mm512_setzero_si512();
  for (int r = first_row; r < planes.End(); ++r) {
    if (!SlideColumns(planes, r, first_row, length, columns)) return false;
    if (r < planes.row_begin) continue;
    float* map_row = map == nullptr ? nullptr : map + static_cast<ptrdiff_t>(r) * planes.width;
    int small_count = 0;
    units = _mm512_add_epi64(units,
                             _mm512_cvtpd_epi64(WindowRow(columns, length, planes.width, map_row, small, small_count)));
    for (int i = 0; i < small_count; ++i) sum.Add(small[i]);
  }
  sum.AddFine(_mm512_reduce_add_epi64(units));
  result.Add(sum);
  return true;
}

}  // namespace

VIDMETRA_AVX512 bool SsimSumAvx512(const SsimPlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum) {
  return SumOf(planes, map, scratch, sum);
}

VIDMETRA_AVX512 bool SsimSumAvx512(const SsimBytePlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum) {
  return SumOf(planes, map, scratch, sum);
}

}  // namespace vidmetra
#endif
