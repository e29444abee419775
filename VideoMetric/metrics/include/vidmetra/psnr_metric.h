#pragma once
#include <array>

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
                                                .higher_is_better = true,
                                                .reads_bytes = true,
                                                .differences_only = true};

  explicit PsnrMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  FrameResult GetAverageResult(bool with_visualization) override;
  void RenderVisualization(VideoFrame& target) override;

 private:
  FrameResult MeasureFrame(FrameList frames, VideoFrame* target);
  // Every pixel's own PSNR into the map.
  void MapPixelPsnr(FrameList frames, float* map) const;
  int32_t PeakSquared() const;

  int32_t peak_squared_ = 65025;
  float sequence_psnr_ = 0.0f;
  // PixelPsnr of the whole differences 0 … 255, which are all that 8-bit planes give.
  std::array<float, 256> whole_difference_psnr_{};
};

// The PSNR of one pixel from its squared difference: 100 when it is at most 1, otherwise 10·log10(P / e).
float PixelPsnr(float squared, int32_t peak_squared);

// The colour of a per-pixel PSNR: black for identical pixels, then blue, green, yellow and red as it falls.
Bgr PsnrColour(float p);
// PsnrColour is a step function with its steps at whole dB: every band starts at an integer, and a float minus an
// integer below it is exact, so each truncation t(p − c) is floor(p) − c. So the colour of p is
// PsnrColours()[PsnrColourIndex(p)]: one colour per whole dB from 0 to 98, then black.
inline int PsnrColourIndex(float p) {
  const float held = p >= 0.0f && p < 99.0f ? p : 99.0f;
  return static_cast<int>(held);
}
const std::array<PackedColour, 100>& PsnrColours();

}  // namespace vidmetra
