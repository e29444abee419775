#include "vidmetra/vqm_metric.h"

#include <algorithm>
#include <cmath>

#include "vidmetra/fdct.h"
#include "vidmetra/map_renderer.h"

namespace vidmetra {
namespace {

// Coarser for higher frequencies, where the eye forgives more. Row 1 column 3 and row 2 column 5 break the
// symmetry on purpose.
constexpr int16_t kWeights[64] = {
    8,  16, 19, 22, 26, 27, 29, 34,  //
    16, 16, 22, 21, 27, 29, 34, 37,  //
    19, 22, 26, 27, 29, 31, 34, 38,  //
    22, 22, 26, 27, 29, 34, 37, 40,  //
    22, 26, 27, 29, 32, 35, 40, 48,  //
    26, 27, 29, 32, 35, 40, 48, 58,  //
    26, 27, 29, 34, 38, 46, 56, 69,  //
    27, 29, 35, 38, 46, 56, 69, 83,
};

// 0.65 as single precision holds it.
constexpr double kContrastExponent = 0.6499999761581421;
constexpr float kContrastReference = 0.0009765625f;  // 1/1024
constexpr float kBlockMeanFactor = 0.015625f;        // 1/64
constexpr float kMapScale = 256000.0f;

int16_t CaptureSample(float sample) {
  if (!(sample > -32769.0f && sample < 32768.0f)) return sample > 0.0f ? 32767 : (sample < 0.0f ? -32768 : 0);
  return static_cast<int16_t>(sample);
}

void CaptureBlock(const float* plane, int width, int16_t* block) {
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) block[8 * y + x] = CaptureSample(plane[static_cast<ptrdiff_t>(y) * width + x]);
  }
}

// Local contrast: a block is judged relative to its own brightness.
void WeighBlock(const int16_t* coefficients, float* weighted) {
  const float dc = coefficients[0];
  const float contrast =
      dc == 0.0f ? 0.0f
                 : static_cast<float>(std::pow(static_cast<double>(dc * kContrastReference), kContrastExponent) / dc);
  for (int i = 0; i < 64; ++i) weighted[i] = static_cast<float>(coefficients[i]) * contrast / kWeights[i];
}

}  // namespace

VqmMetric::VqmMetric(const MetricParams& params) : MetricBase(params) {
  name_ = "vqm";
  title_ = "VQM";
  help_address_ = std::string(kHelpPage) + "vqm";
  higher_is_better_ = false;
  inputs_without_visualization_ = inputs_with_visualization_ = 2;
  width_multiple_ = height_multiple_ = 8;
}

int16_t VqmMetric::Weight(int row, int column) { return kWeights[8 * row + column]; }

VqmMetric::BlockStatistics VqmMetric::CompareBlock(const float* a, const float* b) {
  const float* planes[2] = {a, b};
  for (int i = 0; i < 2; ++i) {
    CaptureBlock(planes[i], params_.width, coefficients_[i]);
    ForwardDct8x8(coefficients_[i]);
    WeighBlock(coefficients_[i], weighted_[i]);
  }
  float sum = 0.0f;
  float maximum = 0.0f;
  for (int i = 0; i < 64; ++i) {
    const float difference = std::fabs(weighted_[0][i] - weighted_[1][i]);
    sum += difference;
    maximum = std::max(maximum, difference);
  }
  return {sum * kBlockMeanFactor, maximum};
}

float VqmMetric::FrameVqm(FrameList frames, float* map) {
  const int width = params_.width;
  const float* a = Plane(frames, 0);
  const float* b = Plane(frames, 1);
  float mean_sum = 0.0f;
  float largest = 0.0f;
  for (int by = 0; by < params_.height / 8; ++by) {
    for (int bx = 0; bx < width / 8; ++bx) {
      const ptrdiff_t origin = static_cast<ptrdiff_t>(8 * by) * width + 8 * bx;
      const BlockStatistics block = CompareBlock(a + origin, b + origin);
      mean_sum += block.mean;
      if (!(block.maximum < largest)) largest = block.maximum;
      if (map == nullptr) continue;
      const float value = std::min(255.0f, kMapScale * block.mean);
      for (int y = 0; y < 8; ++y) std::fill_n(map + origin + static_cast<ptrdiff_t>(y) * width, 8, value);
    }
  }
  const auto samples = static_cast<double>(static_cast<int64_t>(width) * params_.height);
  return static_cast<float>(10.0 * (64000.0 * mean_sum / samples + 5.0 * largest));
}

FrameResult VqmMetric::Measure(FrameList frames) { return CompleteFrame({FrameVqm(frames, nullptr)}, nullptr); }

FrameResult VqmMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameVqm(frames, difference_map())}, &target);
}

void VqmMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
