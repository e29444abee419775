#include "vidmetra/psnr_metric.h"

#include <algorithm>
#include <cmath>

#include "vidmetra/colour_component.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/mse_metric.h"
#include "vidmetra/sample_pair.h"

namespace vidmetra {
namespace {

// Truncation toward zero, as an integer.
int T(float x) { return static_cast<int>(x); }

}  // namespace

Bgr PsnrColour(float p) {
  if (!(p >= 0.0f) || p >= 99.0f) return {0, 0, 0};
  if (p >= 35.0f) return {static_cast<uint8_t>(std::max(40, 255 - 6 * T(p - 25.0f))), 0, 0};
  if (p >= 20.0f) return {0, static_cast<uint8_t>(15 * (17 - T(p - 20.0f))), 0};
  if (p >= 17.0f) {
    const auto level = static_cast<uint8_t>(5 * (51 - T(p - 17.0f)));
    return {0, level, level};
  }
  return {0, 0, static_cast<uint8_t>(3 * (85 - T(p)))};
}

const std::array<PackedColour, 100>& PsnrColours() {
  static const auto colours = PackColours<100>([](int whole_db) { return PsnrColour(static_cast<float>(whole_db)); });
  return colours;
}

PsnrMetric::PsnrMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {
  for (size_t k = 0; k < whole_difference_psnr_.size(); ++k) {
    whole_difference_psnr_[k] = PixelPsnr(static_cast<float>(k * k), PeakSquared());
  }
}

float PixelPsnr(float squared, int32_t peak_squared) {
  const double e = squared;
  return e <= 1.0 ? 100.0f : static_cast<float>(10.0 * std::log10(peak_squared / e));
}

FrameResult PsnrMetric::MeasureFrame(FrameList frames, VideoFrame* target) {
  peak_squared_ = PeakSquared();
  float* map = target != nullptr ? difference_map() : nullptr;
  const float mse = FrameMse(frames, params_.component, SampleCount(), nullptr, params_.pool);
  float psnr = 100.0f;
  if (mse != 0.0f) psnr = std::min(100.0f, static_cast<float>(10.0 * std::log10(peak_squared_ / double{mse})));
  if (map != nullptr) MapPixelPsnr(frames, map);
  return CompleteFrame({psnr}, {mse}, target);
}

void PsnrMetric::MapPixelPsnr(FrameList frames, float* map) const {
  VisitSamplePair(frames, params_.component, [&](auto a, auto b) {
    for (size_t i = 0; i < SampleCount(); ++i) {
      const float d = static_cast<float>(a[i]) - static_cast<float>(b[i]);
      const float magnitude = std::fabs(d);
      // The whole differences of 8-bit planes from the table; the square of a float is exact in double, so the
      // squared difference the formula takes is the float product.
      const bool whole = magnitude <= 255.0f && static_cast<float>(static_cast<int>(magnitude)) == magnitude;
      map[i] = whole ? whole_difference_psnr_[static_cast<size_t>(magnitude)] : PixelPsnr(d * d, peak_squared_);
    }
  });
}

int32_t PsnrMetric::PeakSquared() const { return params_.component == kComponentL ? 10000 : 65025; }

FrameResult PsnrMetric::Measure(FrameList frames) { return MeasureFrame(frames, nullptr); }

FrameResult PsnrMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return MeasureFrame(frames, &target);
}

FrameResult PsnrMetric::GetAverageResult(bool) {
  sequence_psnr_ = sum_ == 0.0 ? 100.0f : static_cast<float>(10.0 * std::log10(peak_squared_ / (sum_ / count_)));
  return {{result_id_, sequence_psnr_}};
}

void PsnrMetric::RenderVisualization(VideoFrame& target) {
  RenderMapByTable(difference_map(), target, PsnrColours().data(), [](float p) { return PsnrColourIndex(p); });
}

}  // namespace vidmetra
