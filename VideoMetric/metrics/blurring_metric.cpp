#include "vidmetra/blurring_metric.h"

#include "vidmetra/difference_lanes.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/signed_colouring.h"

namespace vidmetra {
double SumOfGradients(const float* plane, int width, int height) {
  double sum = 0.0;
  for (int y = 1; y + 1 < height; ++y) {
    const float* row = plane + static_cast<ptrdiff_t>(y) * width;
    for (int x = 1; x + 1 < width; ++x) sum += GradientAt(row + x, width);
  }
  return sum;
}

BlurringMetric::BlurringMetric(const MetricParams& params)
    : MetricBase(params, kDescriptor), second_result_id_(TakeResultId()) {}

size_t BlurringMetric::InteriorCount() const {
  const auto inner = [](int32_t size) { return static_cast<size_t>(size > 2 ? size - 2 : 0); };
  return inner(params_.width) * inner(params_.height);
}

FrameResult BlurringMetric::Measure(FrameList frames) {
  const float* plane = Plane(frames, 0);
  const int width = params_.width;
  const int height = params_.height;
  const float sharpness = QuotientOfSum(
      InteriorCount(), static_cast<double>(InteriorCount()),
      [&] { return ActiveDifferenceLaneKernels().gradients(plane, width, height); },
      [&] { return SumOfGradients(plane, width, height); });
  return CompleteFrame({sharpness}, nullptr);
}

FrameResult BlurringMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  const float* a = Plane(frames, 0);
  const float* b = Plane(frames, 1);
  const int width = params_.width;
  double sum_a = 0.0;
  double sum_b = 0.0;
  for (int y = 1; y + 1 < params_.height; ++y) {
    const ptrdiff_t row = static_cast<ptrdiff_t>(y) * width;
    for (int x = 1; x + 1 < width; ++x) {
      const float gradient_a = GradientAt(a + row + x, width);
      const float gradient_b = GradientAt(b + row + x, width);
      sum_a += gradient_a;
      sum_b += gradient_b;
      difference_map()[row + x] = gradient_a - gradient_b;
    }
  }
  const double scale = 1.0 / static_cast<double>(InteriorCount());
  return CompleteFrame({static_cast<float>(sum_a * scale), static_cast<float>(sum_b * scale)}, &target);
}

void BlurringMetric::AccumulateFrameValues(std::vector<float> values, bool with_visualization) {
  if (values.empty()) return;
  sum_ += values[0];
  if (with_visualization && values.size() > 1) second_sum_ += values[1];
  count_ += 1;
}

FrameResult BlurringMetric::GetAverageResult(bool with_visualization) {
  FrameResult average = MetricBase::GetAverageResult(with_visualization);
  if (with_visualization) average.push_back({second_result_id_, second_sum_ / static_cast<float>(count_)});
  return average;
}

ResultDescriptors BlurringMetric::DescribeResults(bool with_visualization) {
  ResultDescriptors series{{result_id_, {0}, ""}};
  if (with_visualization) series.push_back({second_result_id_, {1}, ""});
  return series;
}

void BlurringMetric::RenderVisualization(VideoFrame& target) { RenderSignedDifferenceMap(difference_map(), target); }

}  // namespace vidmetra
