#pragma once
// Vectorised kernels add in lanes, the scalar references row by row, so the two doubles may differ in their last
// bits. Metrics report such a sum divided by a count and rounded to float; the lane sum stands in for the
// reference whenever every double the row-by-row sum can be — within the rounding-error bound of a sum of
// `terms` exactly formed terms whose magnitudes add up to `magnitude` — gives the same float. Otherwise (rarely:
// near a rounding boundary of the float, or a sum that is not finite) the caller runs the reference.
#include <cstddef>
#include <optional>

namespace vidmetra {

struct LaneSum {
  double sum;
  double magnitude;       // the sum of the terms' magnitudes
  bool integral = false;  // every term is an integer: any order gives the same sum while magnitude < 2^53
};

// The sum of the terms of both.
inline LaneSum operator+(const LaneSum& x, const LaneSum& y) {
  return {x.sum + y.sum, x.magnitude + y.magnitude, x.integral && y.integral};
}

// float(sum / divisor) as the reference would round it, for a positive `divisor`; nullopt when not certain.
std::optional<float> CertainQuotient(double lane_sum, double magnitude, size_t terms, double divisor);

// The float quotient of a sum, certified from the lanes or else from the reference: `lanes()` returns the
// LaneSum, `reference()` the row-by-row sum.
template <typename Lanes, typename Reference>
float QuotientOfSum(size_t terms, double divisor, Lanes lanes, Reference reference) {
  const LaneSum lane = lanes();
  if (lane.integral && lane.magnitude < 0x1p53) return static_cast<float>(lane.sum / divisor);
  if (const std::optional<float> certain = CertainQuotient(lane.sum, lane.magnitude, terms, divisor)) return *certain;
  return static_cast<float>(reference() / divisor);
}

}  // namespace vidmetra
