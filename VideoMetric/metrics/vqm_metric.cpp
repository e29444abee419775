#include "vidmetra/vqm_metric.h"

#include <algorithm>

#include "vidmetra/map_renderer.h"
#include "vidmetra/plane_samples.h"
#include "vidmetra/task_pool.h"
#include "vidmetra/vqm_lanes.h"

namespace vidmetra {
namespace {

constexpr float kMapScale = 256000.0f;

void MarkBlock(float* map, int width, float mean) {
  const float value = std::min(255.0f, kMapScale * mean);
  for (int y = 0; y < 8; ++y) std::fill_n(map + static_cast<ptrdiff_t>(y) * width, 8, value);
}

}  // namespace

VqmMetric::VqmMetric(const MetricParams& params)
    : MetricBase(params, kDescriptor), transform_(ActiveDctKernels().transform), lanes_(ActiveVqmLaneKernels()) {
  const auto blocks = static_cast<size_t>(params_.width / 8) * static_cast<size_t>(params_.height / 8);
  block_means_.resize(blocks);
  block_maxima_.resize(blocks);
}

int16_t VqmMetric::Weight(int row, int column) { return VqmWeight(8 * row + column); }

template <typename A, typename B>
void VqmMetric::CompareBlockRows(const A* a, const B* b, int first, int last, float* map) {
  const int width = params_.width;
  const int columns = width / 8;
  alignas(64) int16_t lanes[2][64 * kDctLanes];
  for (int by = first; by < last; ++by) {
    for (int bx = 0; bx < columns; bx += kDctLanes) {
      const int count = std::min(kDctLanes, columns - bx);
      const ptrdiff_t origin = static_cast<ptrdiff_t>(8 * by) * width + 8 * bx;
      lanes_.Capture(a + origin, width, count, lanes[0]);
      lanes_.Capture(b + origin, width, count, lanes[1]);
      for (auto& block_lanes : lanes) transform_(block_lanes);
      const VqmLaneStatistics statistics = lanes_.compare(lanes[0], lanes[1]);
      const size_t block = static_cast<size_t>(by) * static_cast<size_t>(columns) + static_cast<size_t>(bx);
      std::copy_n(statistics.mean, count, block_means_.begin() + static_cast<ptrdiff_t>(block));
      std::copy_n(statistics.maximum, count, block_maxima_.begin() + static_cast<ptrdiff_t>(block));
      if (map == nullptr) continue;
      for (int j = 0; j < count; ++j) MarkBlock(map + origin + 8 * j, width, statistics.mean[j]);
    }
  }
}

float VqmMetric::FrameVqm(FrameList frames, float* map) {
  const int rows = params_.height / 8;
  // Several bands per thread, so that a thread that comes late to the frame (reading the next one, say) still
  // takes a share.
  const int threads = params_.pool == nullptr ? 1 : params_.pool->Threads();
  const int bands = threads == 1 ? 1 : std::min(rows, 4 * threads);
  // Each input is captured from its own kind of samples.
  VisitSamples(*frames[0], params_.component, [&](const auto* a) {
    VisitSamples(*frames[1], params_.component, [&](const auto* b) {
      RunParts(params_.pool, bands,
               [&](int band) { CompareBlockRows(a, b, rows * band / bands, rows * (band + 1) / bands, map); });
    });
  });
  float mean_sum = 0.0f;
  float largest = 0.0f;
  for (size_t block = 0; block < block_means_.size(); ++block) {
    mean_sum += block_means_[block];
    if (!(block_maxima_[block] < largest)) largest = block_maxima_[block];
  }
  const auto samples = static_cast<double>(static_cast<int64_t>(params_.width) * params_.height);
  return static_cast<float>(10.0 * (64000.0 * mean_sum / samples + 5.0 * largest));
}

FrameResult VqmMetric::Measure(FrameList frames) { return CompleteFrame({FrameVqm(frames, nullptr)}, nullptr); }

FrameResult VqmMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameVqm(frames, difference_map())}, &target);
}

void VqmMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
