#include "vidmetra/mse_metric.h"

#include <algorithm>
#include <cmath>

#include "vidmetra/colour_component.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/squared_error.h"

namespace vidmetra {

float FrameMse(FrameList frames, int32_t component, size_t samples, float* squared_map) {
  const float* a = frames[0]->ComponentPlane(component);
  const float* b = frames[1]->ComponentPlane(component);
  if (squared_map != nullptr) {
    // The product of two floats is exact in double, so its rounding to float is the float product.
    for (size_t i = 0; i < samples; ++i) {
      const float d = a[i] - b[i];
      squared_map[i] = d * d;
    }
  }
  return QuotientOfSum(
      samples, static_cast<double>(samples),
      [&] {
        const double sum = SumSquaredError(a, b, samples);
        return LaneSum{sum, sum};
      },
      [&] { return SumSquaredErrorScalar(a, b, samples); });
}

MseMetric::MseMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

FrameResult MseMetric::Measure(FrameList frames) {
  return CompleteFrame({FrameMse(frames, params_.component, SampleCount(), nullptr)}, nullptr);
}

FrameResult MseMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameMse(frames, params_.component, SampleCount(), difference_map())}, &target);
}

void MseMetric::RenderVisualization(VideoFrame& target) {
  RenderMapByTable(difference_map(), target, GreyColours().data(), [](float m) { return MseGreyLevel(m); });
}

}  // namespace vidmetra
