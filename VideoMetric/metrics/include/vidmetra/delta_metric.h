#pragma once
#include "vidmetra/metric_base.h"

namespace vidmetra {

// Mean of the signed sample differences, positive when the original is brighter.
class DeltaMetric : public MetricBase {
 public:
  static constexpr MetricDescriptor kDescriptor{.name = "delta",
                                                .title = "Delta",
                                                .components = kAllComponents,
                                                .inputs_plain = 2,
                                                .inputs_visualized = 2,
                                                .higher_is_better = false,
                                                .reads_bytes = true,
                                                .differences_only = true};

  explicit DeltaMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  void RenderVisualization(VideoFrame& target) override;

 private:
  float FrameDelta(FrameList frames, float* map) const;
};

}  // namespace vidmetra
