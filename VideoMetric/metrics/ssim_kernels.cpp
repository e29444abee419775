#include "vidmetra/ssim_kernels.h"

#include "vidmetra/ssim_vector_kernels.h"

#include <algorithm>

namespace vidmetra {
namespace {

constexpr int kStatistics = 5;  // a, b, a², b², a·b

// Every window row uses its own row of the ring: a running column sum of rows 0..r in ring row r mod 9.
size_t RingEntries(int width) { return SsimRingRowLength(width) * kStatistics * kSsimRingRows; }

// The four products of the index formula, each exact for integer sums; the ratio is then formed in single
// precision. Whatever the rounding, identical inputs give the same numerator and denominator, and since each
// numerator factor is at most its denominator factor before rounding, no window exceeds 1.
float IndexFromTerms(float mean_product, float mean_squares, float covariance2, float variances) {
  return ((mean_product + kSsimC1) * (covariance2 + kSsimC2)) / ((mean_squares + kSsimC1) * (variances + kSsimC2));
}

}  // namespace

double* SsimScratch::DoubleRows(size_t entries) {
  if (doubles_.size() < entries) doubles_.resize(entries);
  return doubles_.data();
}

int32_t* SsimScratch::IntegerRows(size_t entries) {
  if (integers_.size() < entries) integers_.resize(entries);
  return integers_.data();
}

float* SsimScratch::Indices(size_t entries) {
  if (indices_.size() < entries) indices_.resize(entries);
  return indices_.data();
}

float SsimWindowIndex(double sa, double sb, double saa, double sbb, double sab) {
  const double a_b = sa * sb;
  const double mean_squares = sa * sa + sb * sb;
  return IndexFromTerms(static_cast<float>(2.0 * a_b), static_cast<float>(mean_squares),
                        static_cast<float>(2.0 * (64.0 * sab - a_b)),
                        static_cast<float>(64.0 * (saa + sbb) - mean_squares));
}

template <typename Sample>
void SsimSumScalar(const SsimPlanesOf<Sample>& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum) {
  const int width = planes.width;
  const size_t row_length = SsimRingRowLength(width);
  const size_t ring_row = row_length * kStatistics;
  double* ring = scratch.DoubleRows(RingEntries(width));
  const int start = planes.row_begin - 7;
  std::fill_n(ring + static_cast<size_t>((start + 8) % kSsimRingRows) * ring_row, ring_row, 0.0);
  for (int r = start; r < planes.End(); ++r) {
    double* current = ring + static_cast<size_t>(r % kSsimRingRows) * ring_row;
    const double* previous = ring + static_cast<size_t>((r + 8) % kSsimRingRows) * ring_row;
    const Sample* a = planes.a + static_cast<ptrdiff_t>(r) * width;
    const Sample* b = planes.b + static_cast<ptrdiff_t>(r) * width;
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
    double* column = ring + static_cast<size_t>((r + 1) % kSsimRingRows) * ring_row;
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
      sum.Add(index);
      if (map_row == nullptr) continue;
      if (x == 0) std::fill_n(map_row, 7, SsimMapValue(index));
      map_row[x + 7] = SsimMapValue(index);
    }
  }
}

template void SsimSumScalar(const SsimPlanes&, float*, SsimScratch&, SsimIndexSum&);
template void SsimSumScalar(const SsimBytePlanes&, float*, SsimScratch&, SsimIndexSum&);

namespace {

template <typename Sample>
bool SsimSumReference(const SsimPlanesOf<Sample>& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum) {
  SsimSumScalar(planes, map, scratch, sum);
  return true;
}

// The band by the active kernel where it applies, by the reference otherwise.
template <typename Sample, typename Kernel>
SsimIndexSum SumWith(Kernel kernel, const SsimPlanesOf<Sample>& planes, float* map, SsimScratch& scratch) {
  SsimIndexSum sum;
  if (planes.width % 8 == 0 && planes.width >= 8 && kernel(planes, map, scratch, sum)) return sum;
  SsimSumScalar(planes, map, scratch, sum);
  return sum;
}

}  // namespace

void InitSsimKernels(SsimKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = {SsimSumReference<float>, SsimSumReference<uint8_t>};
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels = {SsimSumAvx2, SsimSumAvx2};
  if ((flags & kCpuAvx512) != 0) kernels = {SsimSumAvx512, SsimSumAvx512};
#endif
}

const SsimKernels& ActiveSsimKernels() { return ActiveKernels<SsimKernels, InitSsimKernels>(); }

SsimIndexSum SsimSum(const SsimPlanes& planes, float* map, SsimScratch& scratch) {
  return SumWith(ActiveSsimKernels().sum, planes, map, scratch);
}

SsimIndexSum SsimSum(const SsimBytePlanes& planes, float* map, SsimScratch& scratch) {
  return SumWith(ActiveSsimKernels().sum_bytes, planes, map, scratch);
}

}  // namespace vidmetra
