#pragma once
#include <cstdint>

#include "vidmetra/metric_base.h"

namespace vidmetra {

// DCT-domain distortion of the Y planes: per 8 × 8 block, coefficients scaled by local contrast and a frequency
// table, then the absolute differences pooled from their mean and their maximum.
class VqmMetric : public MetricBase {
 public:
  explicit VqmMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  std::vector<int32_t> GetSupportedComponents() override { return {kComponentY}; }
  void RenderVisualization(VideoFrame& target) override;

  // The frequency weight of row i (vertical frequency), column j.
  static int16_t Weight(int row, int column);

 private:
  struct BlockStatistics {
    float mean;
    float maximum;
  };
  float FrameVqm(FrameList frames, float* map);
  BlockStatistics CompareBlock(const float* a, const float* b);

  int16_t coefficients_[2][64];
  float weighted_[2][64];
};

}  // namespace vidmetra
