#pragma once
// The first-order difference metrics sum one function of the signed sample difference; with a map the same
// per-sample value is kept for the visualization. Samples are anything indexable that gives floats or bytes (sample_pair.h), each difference formed in float.
#include <cstddef>

namespace vidmetra {

template <typename A, typename B, typename Transform>
double SumDifferences(A a, B b, size_t count, float* map, Transform transform) {
  double sum = 0.0;
  for (size_t i = 0; i < count; ++i) {
    const float value = transform(static_cast<float>(a[i]) - static_cast<float>(b[i]));
    if (map != nullptr) map[i] = value;
    sum += value;
  }
  return sum;
}

}  // namespace vidmetra
