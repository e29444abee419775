#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "vidmetra/background_task.h"
#include "vidmetra/fdct.h"
#include "vidmetra/metric_base.h"
#include "vidmetra/vqm_lanes.h"

namespace vidmetra {

// DCT-domain distortion of the Y planes: per 8 × 8 block, coefficients scaled by local contrast and a frequency
// table, then the absolute differences pooled from their mean and their maximum.
class VqmMetric : public MetricBase {
 public:
  // The transform and the block steps are those of the CPU flags at construction; every tier gives the same
  // results.
  explicit VqmMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  std::vector<int32_t> GetSupportedComponents() override { return {kComponentY}; }
  void RenderVisualization(VideoFrame& target) override;

  // The frequency weight of row i (vertical frequency), column j.
  static int16_t Weight(int row, int column);

 private:
  float FrameVqm(FrameList frames, float* map);
  // Stores the mean and the maximum of every block of block rows [first, last) and, with a map, marks the
  // blocks on it.
  void CompareBlockRows(const float* a, const float* b, int first, int last, float* map);

  DctLanesFunction transform_;
  VqmLaneKernels lanes_;
  // Per block in block order, pooled in that order once the frame is compared, so that the sums do not depend on
  // how the blocks were shared out.
  std::vector<float> block_means_;
  std::vector<float> block_maxima_;
  // The lower half of the block rows is compared on a second core when there is one.
  std::unique_ptr<BackgroundTask> lower_band_;
};

}  // namespace vidmetra
