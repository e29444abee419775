#include "vidmetra/delta_metric.h"

#include "vidmetra/difference_sum.h"
#include "vidmetra/signed_colouring.h"

namespace vidmetra {

DeltaMetric::DeltaMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

float DeltaMetric::FrameDelta(FrameList frames, float* map) const {
  const double sum = SumDifferences(Plane(frames, 0), Plane(frames, 1), SampleCount(), map, [](float d) { return d; });
  return static_cast<float>(sum / static_cast<double>(SampleCount()));
}

FrameResult DeltaMetric::Measure(FrameList frames) { return CompleteFrame({FrameDelta(frames, nullptr)}, nullptr); }

FrameResult DeltaMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameDelta(frames, difference_map())}, &target);
}

void DeltaMetric::RenderVisualization(VideoFrame& target) { RenderSignedDifferenceMap(difference_map(), target); }

}  // namespace vidmetra
