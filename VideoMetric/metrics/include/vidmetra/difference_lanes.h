#pragma once
// The sums behind MSAD, Delta and the blurring measure, added in vector lanes (always the same lanes in every
// tier) instead of row by row. They are exact for 8-bit samples but may differ from the row-by-row sums in the
// last bits for other planes, so the metrics use them through QuotientOfSum (lane_sum_quotient.h), with the
// row-by-row sums of difference_sum.h and blurring_metric.h as the references.
#include <cstddef>

#include "vidmetra/lane_sum_quotient.h"

namespace vidmetra {

// Σ|a − b|, with the differences formed in float.
LaneSum SumAbsoluteDifferencesScalar(const float* a, const float* b, size_t count);
// Σ(a − b).
LaneSum SumSignedDifferencesScalar(const float* a, const float* b, size_t count);
// Σ g over the interior of a plane, g = |p(x − 1, y) − p(x + 1, y)| + |p(x, y − 1) − p(x, y + 1)| in float.
LaneSum SumGradientsScalar(const float* plane, int width, int height);

struct DifferenceLaneKernels {
  LaneSum (*absolute)(const float* a, const float* b, size_t count);
  LaneSum (*signed_)(const float* a, const float* b, size_t count);
  LaneSum (*gradients)(const float* plane, int width, int height);
};
// The scalar sums, replaced by the lane sums of each tier the flags allow.
void InitDifferenceLaneKernels(DifferenceLaneKernels& kernels, unsigned flags);
const DifferenceLaneKernels& ActiveDifferenceLaneKernels();

}  // namespace vidmetra
