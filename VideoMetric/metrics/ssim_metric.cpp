#include "vidmetra/ssim_metric.h"

#include "vidmetra/map_renderer.h"
#include "vidmetra/task_pool.h"

#include <algorithm>

namespace vidmetra {

SsimMetric::SsimMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

float SsimMetric::FrameSsim(FrameList frames, float* map) {
  const int middle = std::max(7, params_.height / 2);
  const SsimPlanes upper{Plane(frames, 0), Plane(frames, 1), params_.width, params_.height, 7, middle};
  SsimPlanes lower = upper;
  lower.row_begin = middle;
  lower.row_end = params_.height;
  const SsimPlanes bands[kBands] = {upper, lower};
  double band_sums[kBands] = {};
  RunParts(params_.pool, kBands, [&](int band) { band_sums[band] = SsimSum(bands[band], map, scratch_[band]); });
  const double sum = band_sums[0] + band_sums[1];
  const auto windows = static_cast<float>(static_cast<int64_t>(params_.height - 7) * (params_.width - 7));
  return static_cast<float>(sum / windows);
}

FrameResult SsimMetric::Measure(FrameList frames) { return CompleteFrame({FrameSsim(frames, nullptr)}, nullptr); }

FrameResult SsimMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameSsim(frames, difference_map())}, &target);
}

void SsimMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
