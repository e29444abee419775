#include "vidmetra/ssim_metric.h"

#include "vidmetra/map_renderer.h"

namespace vidmetra {

SsimMetric::SsimMetric(const MetricParams& params) : MetricBase(params) {
  name_ = "ssim";
  title_ = "SSIM";
  help_address_ = std::string(kHelpPage) + "ssim";
  higher_is_better_ = true;
  inputs_without_visualization_ = inputs_with_visualization_ = 2;
  width_multiple_ = height_multiple_ = 8;
}

float SsimMetric::FrameSsim(FrameList frames, float* map) {
  const SsimPlanes planes{Plane(frames, 0), Plane(frames, 1), params_.width, params_.height};
  const double sum = SsimSum(planes, map, scratch_);
  const auto windows = static_cast<float>(static_cast<int64_t>(params_.height - 7) * (params_.width - 7));
  return static_cast<float>(sum / windows);
}

FrameResult SsimMetric::Measure(FrameList frames) { return CompleteFrame({FrameSsim(frames, nullptr)}, nullptr); }

FrameResult SsimMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameSsim(frames, difference_map())}, &target);
}

void SsimMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
