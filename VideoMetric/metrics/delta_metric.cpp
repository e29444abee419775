#include "vidmetra/delta_metric.h"

#include "vidmetra/difference_lanes.h"
#include "vidmetra/difference_sum.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/signed_colouring.h"

namespace vidmetra {

DeltaMetric::DeltaMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

float DeltaMetric::FrameDelta(FrameList frames, float* map) const {
  const float* a = Plane(frames, 0);
  const float* b = Plane(frames, 1);
  const auto signed_difference = [](float d) { return d; };
  const auto samples = static_cast<double>(SampleCount());
  if (map != nullptr) return static_cast<float>(SumDifferences(a, b, SampleCount(), map, signed_difference) / samples);
  return QuotientOfSum(
      SampleCount(), samples, [&] { return ActiveDifferenceLaneKernels().signed_(a, b, SampleCount()); },
      [&] { return SumDifferences(a, b, SampleCount(), nullptr, signed_difference); });
}

FrameResult DeltaMetric::Measure(FrameList frames) { return CompleteFrame({FrameDelta(frames, nullptr)}, nullptr); }

FrameResult DeltaMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameDelta(frames, difference_map())}, &target);
}

void DeltaMetric::RenderVisualization(VideoFrame& target) { RenderSignedDifferenceMap(difference_map(), target); }

}  // namespace vidmetra
