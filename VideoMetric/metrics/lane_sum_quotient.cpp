#include "vidmetra/lane_sum_quotient.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vidmetra {

std::optional<float> CertainQuotient(double lane_sum, double magnitude, size_t terms, double divisor) {
  constexpr double kUnitRoundoff = std::numeric_limits<double>::epsilon() / 2;
  // Any order of adding n terms is within (n − 1)·u/(1 − (n − 1)·u) of the exact sum times the sum of the
  // magnitudes, which is itself at most `magnitude`·(1 + that); so the reference is within twice that of the
  // lane sum. The generous factor covers the second-order terms and the rounding of the bound and of lo and hi.
  const double n = static_cast<double>(terms);
  if (!std::isfinite(lane_sum) || !std::isfinite(magnitude) || !(divisor > 0.0) || n * kUnitRoundoff > 1e-6) {
    return std::nullopt;
  }
  const double bound = 2.01 * n * kUnitRoundoff * magnitude + 4.0 * kUnitRoundoff * std::fabs(lane_sum);
  const float low = static_cast<float>((lane_sum - bound) / divisor);
  const float high = static_cast<float>((lane_sum + bound) / divisor);
  // Compared as bits, so that a bound straddling zero (−0 against +0) is not taken as certain.
  if (std::bit_cast<uint32_t>(low) != std::bit_cast<uint32_t>(high)) return std::nullopt;
  return low;
}

}  // namespace vidmetra
