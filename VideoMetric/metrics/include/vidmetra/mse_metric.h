#pragma once
#include "vidmetra/metric_base.h"

namespace vidmetra {

// Mean squared error of the component's samples.
class MseMetric : public MetricBase {
 public:
  static constexpr MetricDescriptor kDescriptor{.name = "mse",
                                                .title = "MSE",
                                                .components = kAllComponents,
                                                .inputs_plain = 2,
                                                .inputs_visualized = 2,
                                                .higher_is_better = false};

  explicit MseMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  // Grey 5·√m, limited to 255.
  void RenderVisualization(VideoFrame& target) override;
};

// The frame's MSE rounded to float; with a map, every squared difference is stored in it.
float FrameMse(FrameList frames, int32_t component, size_t samples, float* squared_map);

}  // namespace vidmetra
