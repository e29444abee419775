#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>

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
                                                .higher_is_better = true,
                                                .reads_bytes = true,
                                                .differences_only = true};

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
  float Sharpness(const float* plane) const;
  float Sharpness(const uint8_t* plane) const;
  // Sums the gradients of both planes and writes their differences into the map; each plane is a sample source
  // of sample_pair.h.
  template <typename A, typename B>
  void CompareGradients(const A& a, const B& b, double& sum_a, double& sum_b);

  int32_t second_result_id_;
  float second_sum_ = 0.0f;
};

// The local gradient of sample `at` of a plane `width` samples wide, in float. The plane is anything indexed
// like an array of its samples: floats, or bytes, which widen to their floats exactly (kept chroma bytes are
// their floats plus 128, which every difference cancels).
template <typename Samples>
inline float GradientAt(const Samples& plane, size_t at, size_t width) {
  const auto sample = [&](size_t i) { return static_cast<float>(plane[i]); };
  return std::fabs(sample(at - 1) - sample(at + 1)) + std::fabs(sample(at - width) - sample(at + width));
}

// Sum over the samples not on the border of |p(x−1, y) − p(x+1, y)| + |p(x, y−1) − p(x, y+1)|.
double SumOfGradients(const float* plane, int width, int height);
// The same sum over 8-bit samples, in integers: whole terms below 2^9, so it is exactly the double of the float
// sum on the widened samples. `absolute` is a sum of absolute byte differences (byte_differences.h), through
// which each direction's terms of a row are one sum.
uint64_t SumByteGradients(const uint8_t* plane, int width, int height,
                          uint64_t (*absolute)(const uint8_t* a, const uint8_t* b, size_t count));

}  // namespace vidmetra
