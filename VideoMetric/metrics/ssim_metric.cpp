#include "vidmetra/ssim_metric.h"

#include "vidmetra/map_renderer.h"

#include <algorithm>
#include <thread>

namespace vidmetra {

SsimMetric::SsimMetric(const MetricParams& params) : MetricBase(params) {
  name_ = "ssim";
  title_ = "SSIM";
  help_address_ = std::string(kHelpPage) + "ssim";
  higher_is_better_ = true;
  inputs_without_visualization_ = inputs_with_visualization_ = 2;
  width_multiple_ = height_multiple_ = 8;
  if (std::thread::hardware_concurrency() > 1) lower_band_ = std::make_unique<BackgroundTask>();
}

float SsimMetric::FrameSsim(FrameList frames, float* map) {
  const int middle = std::max(7, params_.height / 2);
  const SsimPlanes upper{Plane(frames, 0), Plane(frames, 1), params_.width, params_.height, 7, middle};
  SsimPlanes lower = upper;
  lower.row_begin = middle;
  lower.row_end = params_.height;
  double upper_sum = 0.0;
  double lower_sum = 0.0;
  RunSideBySide(
      lower_band_.get(), [&] { upper_sum = SsimSum(upper, map, scratch_[0]); },
      [&] { lower_sum = SsimSum(lower, map, scratch_[1]); });
  const double sum = upper_sum + lower_sum;
  const auto windows = static_cast<float>(static_cast<int64_t>(params_.height - 7) * (params_.width - 7));
  return static_cast<float>(sum / windows);
}

FrameResult SsimMetric::Measure(FrameList frames) { return CompleteFrame({FrameSsim(frames, nullptr)}, nullptr); }

FrameResult SsimMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameSsim(frames, difference_map())}, &target);
}

void SsimMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
