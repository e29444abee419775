#pragma once
#include "vidmetra/metric_base.h"
#include "vidmetra/ssim_kernels.h"

#include <vector>

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
                                                .height_multiple = 8,
                                                .reads_bytes = true};

  explicit SsimMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  void RenderVisualization(VideoFrame& target) override;

 private:
  float FrameSsim(FrameList frames, float* map);

  // The picture is measured in bands of window rows, side by side on the pool's threads. The band sums are
  // exact, so the frame's value does not depend on how many bands there are.
  std::vector<SsimPlanes> bands_;
  std::vector<SsimScratch> scratch_;
  std::vector<SsimIndexSum> band_sums_;
};

}  // namespace vidmetra
