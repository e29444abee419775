#pragma once
#include "vidmetra/map_renderer.h"
#include "vidmetra/metric_base.h"

namespace vidmetra {

// Peak signal-to-noise ratio of the component's samples. The sequence value is the PSNR of the mean MSE.
class PsnrMetric : public MetricBase {
 public:
  static constexpr MetricDescriptor kDescriptor{.name = "psnr",
                                                .title = "PSNR",
                                                .units = "dB",
                                                .components = kAllComponents,
                                                .inputs_plain = 2,
                                                .inputs_visualized = 2,
                                                .higher_is_better = true};

  explicit PsnrMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  FrameResult GetAverageResult(bool with_visualization) override;
  void RenderVisualization(VideoFrame& target) override;

 private:
  FrameResult MeasureFrame(FrameList frames, VideoFrame* target);

  int32_t peak_squared_ = 65025;
  float sequence_psnr_ = 0.0f;
};

// The colour of a per-pixel PSNR: black for identical pixels, then blue, green, yellow and red as it falls.
Bgr PsnrColour(float p);

}  // namespace vidmetra
