#pragma once
// The per-block steps of VQM on kDctLanes side-by-side blocks at once, in the interleaved layout of the lane
// transforms (entry kDctLanes·i + j is sample or coefficient i of block j). Each vectorised step keeps its
// reference.
#include <cstdint>

#include "vidmetra/fdct.h"

namespace vidmetra {

// The frequency weight of coefficient i, row-major with the row the vertical frequency.
int16_t VqmWeight(int index);

// A sample as the transform takes it: truncated toward zero, saturated at the 16-bit limits, NaN as 0.
int16_t VqmCaptureSample(float sample);
// The samples of `count` (1 … kDctLanes) side-by-side blocks from `plane` on, in a picture `width` samples
// wide, interleaved; the lanes beyond them get zeros.
void VqmCaptureLanesScalar(const float* plane, int width, int count, int16_t* lanes);
// The same from 8-bit samples, which the capture takes as they are.
void VqmCaptureLanesScalar(const uint8_t* plane, int width, int count, int16_t* lanes);

struct VqmBlockStatistics {
  float mean;
  float maximum;
};
// The 64 coefficients of a block pair, row-major, scaled by local contrast and divided by the weights; the
// mean and the largest of the absolute differences.
VqmBlockStatistics VqmCompareBlock(const int16_t* a, const int16_t* b);

struct VqmLaneStatistics {
  float mean[kDctLanes];
  float maximum[kDctLanes];
};

// VqmCompareBlock on each lane of two sets of interleaved coefficients.
VqmLaneStatistics VqmCompareLanesScalar(const int16_t* a, const int16_t* b);

// The steps of one instruction-set tier: `capture` and `capture_bytes` give what VqmCaptureLanesScalar gives,
// `compare` what VqmCompareLanesScalar gives, with the same operations in the same order, so the same floats.
struct VqmLaneKernels {
  void (*capture)(const float* plane, int width, int count, int16_t* lanes);
  void (*capture_bytes)(const uint8_t* plane, int width, int count, int16_t* lanes);
  VqmLaneStatistics (*compare)(const int16_t* a, const int16_t* b);

  // The capture of the plane's sample type.
  void Capture(const float* plane, int width, int count, int16_t* lanes) const {
    capture(plane, width, count, lanes);
  }
  void Capture(const uint8_t* plane, int width, int count, int16_t* lanes) const {
    capture_bytes(plane, width, count, lanes);
  }
};
// The references, replaced by the vectorised steps of each tier the flags allow.
void InitVqmLaneKernels(VqmLaneKernels& kernels, unsigned flags);
const VqmLaneKernels& ActiveVqmLaneKernels();

}  // namespace vidmetra
