#include "vidmetra/ssim_metric.h"

#include "vidmetra/map_renderer.h"
#include "vidmetra/task_pool.h"

#include <algorithm>

namespace vidmetra {

namespace {

// Every band repeats the sums of the seven picture rows above its first window row: bands of fewer window rows
// than this would spend too much of their work on that.
constexpr int kLeastBandRows = 64;

// Two bands per thread, so that a thread that comes late to the frame (reading the next one, say) still gets a
// share.
int BandCount(const MetricParams& params) {
  const int threads = params.pool == nullptr ? 1 : params.pool->Threads();
  const int window_rows = params.height - 7;
  return threads == 1 ? 1 : std::clamp(window_rows / kLeastBandRows, 1, 2 * threads);
}

}  // namespace

SsimMetric::SsimMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {
  const int bands = BandCount(params_);
  const int window_rows = params_.height - 7;
  for (int band = 0; band < bands; ++band) {
    bands_.push_back({nullptr, nullptr, params_.width, params_.height, 7 + window_rows * band / bands,
                      7 + window_rows * (band + 1) / bands});
  }
  scratch_.resize(static_cast<size_t>(bands));
  band_sums_.resize(static_cast<size_t>(bands));
}

float SsimMetric::FrameSsim(FrameList frames, float* map) {
  const uint8_t* a_bytes = frames[0]->ComponentBytes(params_.component);
  const uint8_t* b_bytes = frames[1]->ComponentBytes(params_.component);
  const bool bytes = a_bytes != nullptr && b_bytes != nullptr;
  // Once per frame: an input kept as bytes beside one of floats is widened here.
  const float* a = bytes ? nullptr : FloatPlane(frames, 0);
  const float* b = bytes ? nullptr : FloatPlane(frames, 1);
  for (SsimPlanes& band : bands_) {
    band.a = a;
    band.b = b;
  }
  RunParts(params_.pool, static_cast<int>(bands_.size()), [&](int band) {
    const auto at = static_cast<size_t>(band);
    const SsimPlanes& rows = bands_[at];
    band_sums_[at] = bytes ? SsimSum(SsimBytePlanes{a_bytes, b_bytes, rows.width, rows.height, rows.row_begin,
                                                    rows.row_end},
                                     map, scratch_[at])
                           : SsimSum(rows, map, scratch_[at]);
  });
  SsimIndexSum sum;
  for (const SsimIndexSum& band_sum : band_sums_) sum.Add(band_sum);
  const auto windows = static_cast<float>(static_cast<int64_t>(params_.height - 7) * (params_.width - 7));
  return static_cast<float>(sum.Value() / windows);
}

FrameResult SsimMetric::Measure(FrameList frames) { return CompleteFrame({FrameSsim(frames, nullptr)}, nullptr); }

FrameResult SsimMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameSsim(frames, difference_map())}, &target);
}

void SsimMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
