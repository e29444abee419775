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
  if (squared_map == nullptr) {
    return QuotientOfSum(
        samples, static_cast<double>(samples),
        [&] {
          const double sum = SumSquaredError(a, b, samples);
          return LaneSum{sum, sum};
        },
        [&] { return SumSquaredErrorScalar(a, b, samples); });
  }
  double sum = 0.0;
  for (size_t i = 0; i < samples; ++i) {
    const double d = a[i] - b[i];
    squared_map[i] = static_cast<float>(d * d);
    sum += d * d;
  }
  return static_cast<float>(sum / static_cast<double>(samples));
}

MseMetric::MseMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

FrameResult MseMetric::Measure(FrameList frames) {
  return CompleteFrame({FrameMse(frames, params_.component, SampleCount(), nullptr)}, nullptr);
}

FrameResult MseMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameMse(frames, params_.component, SampleCount(), difference_map())}, &target);
}

void MseMetric::RenderVisualization(VideoFrame& target) {
  RenderMap(difference_map(), target, [](float m) {
    const float level = std::min(255.0f, std::trunc(5.0f * std::sqrt(m)));
    const auto grey = static_cast<uint8_t>(level > 0.0f ? level : 0.0f);
    return Bgr{grey, grey, grey};
  });
}

}  // namespace vidmetra
