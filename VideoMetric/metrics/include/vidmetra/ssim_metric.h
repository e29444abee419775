#pragma once
#include "vidmetra/metric_base.h"
#include "vidmetra/ssim_kernels.h"

namespace vidmetra {

// Structural similarity of the Y planes: the mean index over every 8 × 8 window position.
class SsimMetric : public MetricBase {
 public:
  static constexpr MetricDescriptor kDescriptor{.name = "ssim",
                                                .title = "SSIM",
                                                .components = kLumaComponent,
                                                .inputs_plain = 2,
                                                .inputs_visualized = 2,
                                                .higher_is_better = true,
                                                .width_multiple = 8,
                                                .height_multiple = 8};

  explicit SsimMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  void RenderVisualization(VideoFrame& target) override;

 private:
  float FrameSsim(FrameList frames, float* map);

  // The picture is measured as two bands of window rows, side by side when the pool has a second thread. The
  // frame's value is the sum of the two band sums, so the split stays two bands whatever the number of threads:
  // results do not depend on the machine.
  static constexpr int kBands = 2;
  SsimScratch scratch_[kBands];
};

}  // namespace vidmetra
