#pragma once
#include "vidmetra/metric_base.h"

namespace vidmetra {

// Mean of the signed sample differences, positive when the original is brighter.
class DeltaMetric : public MetricBase {
 public:
  explicit DeltaMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  std::vector<int32_t> GetSupportedComponents() override { return AllComponents(); }
  void RenderVisualization(VideoFrame& target) override;

 private:
  float FrameDelta(FrameList frames, float* map) const;
};

}  // namespace vidmetra
