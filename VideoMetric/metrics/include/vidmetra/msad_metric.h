#pragma once
#include "vidmetra/metric_base.h"

namespace vidmetra {

// The grey level of an absolute difference m: 10·m truncated, limited to 0 … 255.
inline int MsadGreyLevel(float m) {
  const float level = 10.0f * m;
  return static_cast<int>(level >= 255.0f ? 255.0f : (level > 0.0f ? level : 0.0f));
}

// Mean of the absolute sample differences.
class MsadMetric : public MetricBase {
 public:
  static constexpr MetricDescriptor kDescriptor{.name = "msad",
                                                .title = "MSAD",
                                                .components = kAllComponents,
                                                .inputs_plain = 2,
                                                .inputs_visualized = 2,
                                                .higher_is_better = false,
                                                .reads_bytes = true,
                                                .differences_only = true};

  explicit MsadMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  // Grey 10·m, limited to 255.
  void RenderVisualization(VideoFrame& target) override;

 private:
  float FrameMsad(FrameList frames, float* map) const;
};

}  // namespace vidmetra
