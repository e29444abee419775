#pragma once
#include <cmath>
#include <cstddef>

#include "vidmetra/metric_base.h"

namespace vidmetra {

// Sharpness as the mean local gradient of the interior samples. Alone it rates one sequence; with the
// visualization it rates the original and the processed sequence side by side, as two result series.
class BlurringMetric : public MetricBase {
 public:
  static constexpr int32_t kComponents[] = {kComponentY, kComponentU, kComponentV};
  static constexpr MetricDescriptor kDescriptor{.name = "blurring_measure",
                                                .title = "Zyr Blurring BETA",
                                                .components = kComponents,
                                                .inputs_plain = 1,
                                                .inputs_visualized = 2,
                                                .higher_is_better = true};

  explicit BlurringMetric(const MetricParams& params);
  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  ResultDescriptors DescribeResults(bool with_visualization) override;
  FrameResult GetAverageResult(bool with_visualization) override;
  void AccumulateFrameValues(std::vector<float> values, bool with_visualization) override;
  // Red where the original is sharper, green where the processed picture is.
  void RenderVisualization(VideoFrame& target) override;
  std::vector<int32_t> GetResultIds() override { return {result_id_, second_result_id_}; }

 private:
  size_t InteriorCount() const;

  int32_t second_result_id_;
  float second_sum_ = 0.0f;
};

// The local gradient of the sample at `sample` in a plane `width` samples wide, in float.
inline float GradientAt(const float* sample, int width) {
  return std::fabs(sample[-1] - sample[1]) + std::fabs(sample[-width] - sample[width]);
}

// Sum over the samples not on the border of |p(x−1, y) − p(x+1, y)| + |p(x, y−1) − p(x, y+1)|.
double SumOfGradients(const float* plane, int width, int height);

}  // namespace vidmetra
