#pragma once
// The vertical scale of a graph panel: where the value ticks go and how many decimals their labels carry.
#include <cstdint>

namespace vidmetra::plot {

struct ValueTicks {
  double step = 1;
  double first = 0;  // the first tick above the minimum
};

// Ticks aimed at three intervals between `minimum` and `maximum` (maximum above minimum).
ValueTicks ComputeValueTicks(double minimum, double maximum);
// Decimals of the tick labels for that step and those extremes.
int LabelDecimals(double step, double minimum, double maximum);

// The extremes of a panel's value axis: when all values lie within 0.1, the minimum drops to maximum - 0.1 so that
// the axis keeps a height.
struct ValueRange {
  float minimum = 0;
  float maximum = 0;
};
ValueRange WidenFlatRange(float minimum, float maximum);

}  // namespace vidmetra::plot
