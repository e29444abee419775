#include "vidmetra/delta_metric.h"

#include "vidmetra/byte_differences.h"
#include "vidmetra/difference_lanes.h"
#include "vidmetra/difference_sum.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/sample_pair.h"
#include "vidmetra/signed_colouring.h"

namespace vidmetra {

DeltaMetric::DeltaMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

float DeltaMetric::FrameDelta(FrameList frames, float* map) const {
  const auto signed_difference = [](float d) { return d; };
  const size_t count = SampleCount();
  const auto samples = static_cast<double>(count);
  return VisitSamplePair(frames, params_.component, [&](auto a, auto b) {
    if (map != nullptr) return static_cast<float>(SumDifferences(a, b, count, map, signed_difference) / samples);
    return SumQuotient(
        a, b, count, samples, ActiveByteDifferenceKernels().signed_, ActiveDifferenceLaneKernels().signed_,
        [&](auto x, auto y) { return SumDifferences(x, y, count, nullptr, signed_difference); }, params_.pool);
  });
}

FrameResult DeltaMetric::Measure(FrameList frames) { return CompleteFrame({FrameDelta(frames, nullptr)}, nullptr); }

FrameResult DeltaMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameDelta(frames, difference_map())}, &target);
}

void DeltaMetric::RenderVisualization(VideoFrame& target) { RenderSignedDifferenceMap(difference_map(), target); }

}  // namespace vidmetra
