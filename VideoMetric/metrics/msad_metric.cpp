#include "vidmetra/msad_metric.h"

#include <cmath>

#include "vidmetra/byte_differences.h"
#include "vidmetra/difference_lanes.h"
#include "vidmetra/difference_sum.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/sample_pair.h"

namespace vidmetra {

MsadMetric::MsadMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

float MsadMetric::FrameMsad(FrameList frames, float* map) const {
  const auto absolute = [](float d) { return std::fabs(d); };
  const size_t count = SampleCount();
  const auto samples = static_cast<double>(count);
  return VisitSamplePair(frames, params_.component, [&](auto a, auto b) {
    if (map != nullptr) return static_cast<float>(SumDifferences(a, b, count, map, absolute) / samples);
    return SumQuotient(a, b, count, samples, ActiveByteDifferenceKernels().absolute,
                       ActiveDifferenceLaneKernels().absolute,
                       [&](auto x, auto y) { return SumDifferences(x, y, count, nullptr, absolute); },
                       params_.pool);
  });
}

FrameResult MsadMetric::Measure(FrameList frames) { return CompleteFrame({FrameMsad(frames, nullptr)}, nullptr); }

FrameResult MsadMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameMsad(frames, difference_map())}, &target);
}

void MsadMetric::RenderVisualization(VideoFrame& target) {
  RenderMapByTable(difference_map(), target, GreyColours().data(), [](float m) { return MsadGreyLevel(m); });
}

}  // namespace vidmetra
