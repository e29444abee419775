#include "vidmetra/mse_metric.h"

#include <algorithm>
#include <cmath>

#include "vidmetra/byte_differences.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/sample_pair.h"
#include "vidmetra/squared_error.h"

namespace vidmetra {

float FrameMse(FrameList frames, int32_t component, size_t samples, float* squared_map, TaskPool* pool) {
  return VisitSamplePair(frames, component, [&](auto a, auto b) {
    if (squared_map != nullptr) {
      // The product of two floats is exact in double, so its rounding to float is the float product.
      for (size_t i = 0; i < samples; ++i) {
        const float d = static_cast<float>(a[i]) - static_cast<float>(b[i]);
        squared_map[i] = d * d;
      }
    }
    const auto float_lanes = [](const float* x, const float* y, size_t count) {
      const double sum = SumSquaredError(x, y, count);
      return LaneSum{sum, sum};
    };
    return SumQuotient(a, b, samples, static_cast<double>(samples), ActiveByteDifferenceKernels().squared,
                       float_lanes, [&](auto x, auto y) { return SumSquaredErrorOf(x, y, samples); }, pool);
  });
}

MseMetric::MseMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

FrameResult MseMetric::Measure(FrameList frames) {
  return CompleteFrame({FrameMse(frames, params_.component, SampleCount(), nullptr, params_.pool)}, nullptr);
}

FrameResult MseMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameMse(frames, params_.component, SampleCount(), difference_map(), params_.pool)}, &target);
}

void MseMetric::RenderVisualization(VideoFrame& target) {
  RenderMapByTable(difference_map(), target, GreyColours().data(), [](float m) { return MseGreyLevel(m); });
}

}  // namespace vidmetra
