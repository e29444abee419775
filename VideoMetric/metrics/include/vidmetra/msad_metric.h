#pragma once
#include "vidmetra/metric_base.h"

namespace vidmetra {

// Mean of the absolute sample differences.
class MsadMetric : public MetricBase {
 public:
  explicit MsadMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  std::vector<int32_t> GetSupportedComponents() override { return AllComponents(); }
  // Grey 10·m, limited to 255.
  void RenderVisualization(VideoFrame& target) override;

 private:
  float FrameMsad(FrameList frames, float* map) const;
};

}  // namespace vidmetra
