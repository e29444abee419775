#pragma once
#include <cstdint>
#include <vector>

#include "vidmetra/fdct.h"
#include "vidmetra/metric_base.h"
#include "vidmetra/vqm_lanes.h"

namespace vidmetra {

// DCT-domain distortion of the Y planes: per 8 × 8 block, coefficients scaled by local contrast and a frequency
// table, then the absolute differences pooled from their mean and their maximum.
class VqmMetric : public MetricBase {
 public:
  static constexpr MetricDescriptor kDescriptor{.name = "vqm",
                                                .title = "VQM",
                                                .components = kLumaComponent,
                                                .inputs_plain = 2,
                                                .inputs_visualized = 2,
                                                .higher_is_better = false,
                                                .width_multiple = 8,
                                                .height_multiple = 8,
                                                .reads_bytes = true};

  // The transform and the block steps are those of the CPU tiers at construction; every tier gives the same
  // results.
  explicit VqmMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  void RenderVisualization(VideoFrame& target) override;

  // The frequency weight of row i (vertical frequency), column j.
  static int16_t Weight(int row, int column);

 private:
  float FrameVqm(FrameList frames, float* map);
  // Stores the mean and the maximum of every block of block rows [first, last) and, with a map, marks the
  // blocks on it. Each plane holds floats or bytes.
  template <typename A, typename B>
  void CompareBlockRows(const A* a, const B* b, int first, int last, float* map);

  DctLanesFunction transform_;
  VqmLaneKernels lanes_;
  // Per block in block order, pooled in that order once the frame is compared, so that the sums do not depend on
  // how the blocks were shared out among the bands of block rows.
  std::vector<float> block_means_;
  std::vector<float> block_maxima_;
};

}  // namespace vidmetra
