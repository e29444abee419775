#pragma once
// The first-order difference metrics sum one function of the signed sample difference; with a map the same
// per-sample value is kept for the visualization.
#include <cstddef>

namespace vidmetra {

template <typename Transform>
double SumDifferences(const float* a, const float* b, size_t count, float* map, Transform transform) {
  double sum = 0.0;
  for (size_t i = 0; i < count; ++i) {
    const float value = transform(a[i] - b[i]);
    if (map != nullptr) map[i] = value;
    sum += value;
  }
  return sum;
}

}  // namespace vidmetra
