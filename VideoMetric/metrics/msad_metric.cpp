#include "vidmetra/msad_metric.h"

#include <cmath>

#include "vidmetra/difference_lanes.h"
#include "vidmetra/difference_sum.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/map_renderer.h"

namespace vidmetra {

MsadMetric::MsadMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

float MsadMetric::FrameMsad(FrameList frames, float* map) const {
  const float* a = Plane(frames, 0);
  const float* b = Plane(frames, 1);
  const auto absolute = [](float d) { return std::fabs(d); };
  const auto samples = static_cast<double>(SampleCount());
  if (map != nullptr) return static_cast<float>(SumDifferences(a, b, SampleCount(), map, absolute) / samples);
  return QuotientOfSum(
      SampleCount(), samples, [&] { return ActiveDifferenceLaneKernels().absolute(a, b, SampleCount()); },
      [&] { return SumDifferences(a, b, SampleCount(), nullptr, absolute); });
}

FrameResult MsadMetric::Measure(FrameList frames) { return CompleteFrame({FrameMsad(frames, nullptr)}, nullptr); }

FrameResult MsadMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameMsad(frames, difference_map())}, &target);
}

void MsadMetric::RenderVisualization(VideoFrame& target) {
  RenderMapByTable(difference_map(), target, GreyColours().data(), [](float m) { return MsadGreyLevel(m); });
}

}  // namespace vidmetra
