#include "vidmetra/blurring_metric.h"

#include "vidmetra/byte_differences.h"
#include "vidmetra/difference_lanes.h"
#include "vidmetra/lane_sum_quotient.h"
#include "vidmetra/plane_samples.h"
#include "vidmetra/sample_pair.h"
#include "vidmetra/signed_colouring.h"

namespace vidmetra {
double SumOfGradients(const float* plane, int width, int height) {
  double sum = 0.0;
  const auto stride = static_cast<size_t>(width);
  for (int y = 1; y + 1 < height; ++y) {
    const size_t row = static_cast<size_t>(y) * stride;
    for (int x = 1; x + 1 < width; ++x) sum += GradientAt(plane, row + static_cast<size_t>(x), stride);
  }
  return sum;
}

uint64_t SumByteGradients(const uint8_t* plane, int width, int height,
                          uint64_t (*absolute)(const uint8_t* a, const uint8_t* b, size_t count)) {
  if (width < 3) return 0;
  const auto stride = static_cast<ptrdiff_t>(width);
  const auto inner = static_cast<size_t>(width - 2);
  uint64_t sum = 0;
  for (int y = 1; y + 1 < height; ++y) {
    const uint8_t* row = plane + y * stride;
    sum += absolute(row, row + 2, inner) + absolute(row - stride + 1, row + stride + 1, inner);
  }
  return sum;
}

BlurringMetric::BlurringMetric(const MetricParams& params)
    : MetricBase(params, kDescriptor), second_result_id_(TakeResultId()) {}

size_t BlurringMetric::InteriorCount() const {
  const auto inner = [](int32_t size) { return static_cast<size_t>(size > 2 ? size - 2 : 0); };
  return inner(params_.width) * inner(params_.height);
}

float BlurringMetric::Sharpness(const float* plane) const {
  const int width = params_.width;
  const int height = params_.height;
  return QuotientOfSum(
      InteriorCount(), static_cast<double>(InteriorCount()),
      [&] { return ActiveDifferenceLaneKernels().gradients(plane, width, height); },
      [&] { return SumOfGradients(plane, width, height); });
}

float BlurringMetric::Sharpness(const uint8_t* plane) const {
  const uint64_t sum = SumByteGradients(plane, params_.width, params_.height, ActiveByteDifferenceKernels().absolute);
  return static_cast<float>(static_cast<double>(sum) / static_cast<double>(InteriorCount()));
}

FrameResult BlurringMetric::Measure(FrameList frames) {
  const float sharpness =
      VisitSamples(*frames[0], params_.component, [&](const auto* plane) { return Sharpness(plane); });
  return CompleteFrame({sharpness}, nullptr);
}

template <typename A, typename B>
void BlurringMetric::CompareGradients(const A& a, const B& b, double& sum_a, double& sum_b) {
  const auto width = static_cast<size_t>(params_.width);
  for (int y = 1; y + 1 < params_.height; ++y) {
    const size_t row = static_cast<size_t>(y) * width;
    for (size_t at = row + 1; at + 1 < row + width; ++at) {
      const float gradient_a = GradientAt(a, at, width);
      const float gradient_b = GradientAt(b, at, width);
      sum_a += gradient_a;
      sum_b += gradient_b;
      difference_map()[at] = gradient_a - gradient_b;
    }
  }
}

FrameResult BlurringMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  double sum_a = 0.0;
  double sum_b = 0.0;
  VisitSamplePair(frames, params_.component,
                  [&](const auto& a, const auto& b) { CompareGradients(a, b, sum_a, sum_b); });
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
