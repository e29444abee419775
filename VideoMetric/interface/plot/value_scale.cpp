#include "value_scale.h"

#include <cmath>

namespace vidmetra::plot {
namespace {

double FirstTick(double minimum, double step) { return (std::trunc(minimum / step) + 1) * step; }

}  // namespace

ValueTicks ComputeValueTicks(double minimum, double maximum) {
  const double r = std::fabs(maximum - minimum) / 3;
  double step = 1;
  if (r >= 1) step = r < 5 ? 1 : std::floor(r / 5) * 5;
  while (r / step < 1) step /= 2;
  double first = FirstTick(minimum, step);
  // Bounded: each halving doubles the count of steps that fit, and doubles run out long before 64 halvings.
  for (int halvings = 0; std::trunc((maximum - first) / step) < 3 && halvings < 64; ++halvings) {
    step /= 2;
    first = FirstTick(minimum, step);
  }
  return {step, first};
}

int LabelDecimals(double step, double minimum, double maximum) {
  int d = 0;
  for (double scaled = step; d < 3 && std::trunc(scaled) == 0; scaled *= 10) ++d;
  int e = 1;
  if (std::fabs(maximum) > 1) {
    for (double k = 1;; k *= 10) {
      if (std::fabs(minimum) / k <= 1) break;
      ++e;
      if (!(std::fabs(maximum) / (10 * k) > 1)) break;
    }
  }
  return d + e >= 4 ? d : 4 - e;
}

ValueRange WidenFlatRange(float minimum, float maximum) {
  if (maximum - minimum < 0.1f) minimum = maximum - 0.1f;
  return {minimum, maximum};
}

}  // namespace vidmetra::plot
