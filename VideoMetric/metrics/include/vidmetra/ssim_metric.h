#pragma once
#include <memory>

#include "vidmetra/background_task.h"
#include "vidmetra/metric_base.h"
#include "vidmetra/ssim_kernels.h"

namespace vidmetra {

// Structural similarity of the Y planes: the mean index over every 8 × 8 window position.
class SsimMetric : public MetricBase {
 public:
  explicit SsimMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  std::vector<int32_t> GetSupportedComponents() override { return {kComponentY}; }
  void RenderVisualization(VideoFrame& target) override;

 private:
  float FrameSsim(FrameList frames, float* map);

  // The picture is measured as two bands of window rows, the lower one on a second core when there is one;
  // the split is the same either way, so results do not depend on the machine.
  SsimScratch scratch_[2];
  std::unique_ptr<BackgroundTask> lower_band_;
};

}  // namespace vidmetra
