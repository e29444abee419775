#pragma once
#include <algorithm>
#include <cmath>

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
                                                .higher_is_better = false,
                                                .reads_bytes = true,
                                                .differences_only = true};

  explicit MseMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  // Grey 5·√m, limited to 255.
  void RenderVisualization(VideoFrame& target) override;
};

// The grey level of a squared difference m: min(255, trunc(5·√m)), at least 0; a NaN level (m below 0) is 255, as
// std::min(255, NaN) gives. Without a call to trunc and with no root of a negative number, so that the table walk
// computes it in vector lanes.
inline int MseGreyLevel(float m) {
  const float level = m >= 0.0f ? 5.0f * std::sqrt(std::max(m, 0.0f)) : 255.0f;
  return static_cast<int>(level < 255.0f ? level : 255.0f);
}

// The frame's MSE rounded to float, summed in parts over `pool`; with a map, every squared difference is stored
// in it.
float FrameMse(FrameList frames, int32_t component, size_t samples, float* squared_map, TaskPool* pool);

}  // namespace vidmetra
