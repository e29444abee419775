#pragma once
// The structural similarity of every 8 × 8 window of two planes, from sliding sums: 8-row window columns slid
// down the picture (in the reference and the AVX2 kernel as the difference of two rows of a ring of 9 running
// column sums), and the 8-column window as a horizontal run over those columns.
//
// The sums are kept exact for 8-bit planes (doubles in the reference, 32-bit integers in the vectorised
// kernels): in single precision a column's running sum of squares passes 2^24 after a few hundred bright rows,
// the window statistics then lose their low bits, and windows of identical pictures stop being exactly 1.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "vidmetra/ssim_index_sum.h"

namespace vidmetra {

// Float planes, or 8-bit samples kept as bytes, which give the windows of their widened floats.
template <typename Sample>
struct SsimPlanesOf {
  const Sample* a;
  const Sample* b;
  int width;   // a multiple of 8
  int height;  // a multiple of 8
  // The window rows (by their bottom picture row) to sum: [row_begin, row_end), row_end 0 for the last row.
  // A band starts its sums from zero seven rows above its first window, so bands add up to the whole.
  int row_begin = 7;
  int row_end = 0;
  int End() const { return row_end == 0 ? height : row_end; }
};
using SsimPlanes = SsimPlanesOf<float>;
using SsimBytePlanes = SsimPlanesOf<uint8_t>;

// The rows of running or window sums the kernels work in, kept between frames so that a measurement allocates
// them once.
class SsimScratch {
 public:
  double* DoubleRows(size_t entries);
  int32_t* IntegerRows(size_t entries);
  float* Indices(size_t entries);

 private:
  std::vector<double> doubles_;
  std::vector<int32_t> integers_;
  std::vector<float> indices_;
};

// The index of one window from its sums over the 64 samples of a (Sa, Saa), b (Sb, Sbb) and a·b (Sab).
float SsimWindowIndex(double sa, double sb, double saa, double sbb, double sab);
// The map value of a window index: identical regions black, dissimilar ones bright.
inline float SsimMapValue(float index) { return 255.0f - 255.0f * index; }

// Adds the indices of the band's windows to `sum` (all (W − 7)·(H − 7) of them for the whole picture). With a
// map, window row r (its bottom row) fills map row r: the first window of the row columns 0 to 7, every further
// window the column of its right edge.
template <typename Sample>
void SsimSumScalar(const SsimPlanesOf<Sample>& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);
// The kernels of one instruction-set tier: the reference (always true), or one on integer vectors that gives the
// same windows, each the identical float, and so the same sum. A vectorised kernel returns false when a sample
// is not an integer from 0 to 255, and then adds nothing (the map may be partly written); it expects a width
// that is a multiple of 8 and at least 8.
struct SsimKernels {
  bool (*sum)(const SsimPlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);
  bool (*sum_bytes)(const SsimBytePlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);
};
// The reference, replaced by the vectorised kernel of each tier the flags allow.
void InitSsimKernels(SsimKernels& kernels, unsigned flags);
const SsimKernels& ActiveSsimKernels();
// The sum of the band's indices by the active kernel where it applies, by the reference otherwise.
SsimIndexSum SsimSum(const SsimPlanes& planes, float* map, SsimScratch& scratch);
SsimIndexSum SsimSum(const SsimBytePlanes& planes, float* map, SsimScratch& scratch);

}  // namespace vidmetra
