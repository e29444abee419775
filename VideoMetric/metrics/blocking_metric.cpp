#include "vidmetra/blocking_metric.h"

#include <algorithm>

#include "vidmetra/blocking_lanes.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/plane_samples.h"
#include "vidmetra/task_pool.h"

namespace vidmetra {
BlockingMetric::BlockingMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {
  const int vertical = std::max(params_.width / 8 - 1, 0);
  const int horizontal = std::max(params_.height / 8 - 1, 0);
  values_.resize(static_cast<size_t>(vertical) * static_cast<size_t>(std::max(params_.height, 0)) +
                 static_cast<size_t>(horizontal) * static_cast<size_t>(std::max(params_.width, 0)));
  pools_.resize(static_cast<size_t>(vertical + horizontal));
  const int parts = params_.pool == nullptr ? 1 : params_.pool->Threads();
  line_terms_.resize(static_cast<size_t>(parts));
  const auto longest = static_cast<size_t>(std::max({params_.width, params_.height, 0}));
  for (LineTerms& terms : line_terms_) {
    terms.integers.resize(3 * longest);
    terms.floats.resize(2 * longest);
  }
}

double BlockingMetric::EvaluatePosition(const float* first, ptrdiff_t along, ptrdiff_t across, int lines,
                                        bool limited) const {
  int32_t integers[3][3];
  float floats[2][3];
  const BoundaryLines terms{integers[0], integers[1], integers[2], floats[0], floats[1]};
  for (int k = 0; k < lines; ++k) ReadBoundaryLine(first + k * along, across, terms, k);
  return lines == 2 ? EvaluateBoundaryPosition<2>(terms, 0, edge_threshold_, limited)
                    : EvaluateBoundaryPosition<3>(terms, 0, edge_threshold_, limited);
}

BoundaryLines BlockingMetric::LinesOf(LineTerms& scratch) {
  const size_t longest = scratch.floats.size() / 2;
  return {scratch.integers.data(), scratch.integers.data() + longest, scratch.integers.data() + 2 * longest,
          scratch.floats.data(), scratch.floats.data() + longest};
}

template <typename Sample>
void BlockingMetric::EvaluateVerticalBands(const Sample* copy, int first_band, int last_band, LineTerms& scratch) {
  const int width = params_.width;
  const int height = params_.height;
  const ptrdiff_t down = -static_cast<ptrdiff_t>(width);
  const BoundaryLines lines = LinesOf(scratch);
  const BlockingLaneKernels& kernels = ActiveBlockingLaneKernels();
  for (int band = first_band; band < last_band; ++band) {
    const int rows = std::min(8, height - 8 * band);
    for (int j = 0; j + 1 < width / 8; ++j) {
      kernels.ReadStacked(copy + 8 * j + 7 + 8 * band * down, down, rows, lines);
      kernels.evaluate(lines, rows, true, edge_threshold_, values_.data() + VerticalValues(j) + 8 * band);
    }
  }
}

template <typename Sample>
void BlockingMetric::EvaluateHorizontal(const Sample* copy, int j, LineTerms& scratch) {
  const int width = params_.width;
  const ptrdiff_t down = -static_cast<ptrdiff_t>(width);
  const BoundaryLines lines = LinesOf(scratch);
  const BlockingLaneKernels& kernels = ActiveBlockingLaneKernels();
  kernels.ReadAdjacent(copy + (8 * j + 7) * down, down, width, lines);
  kernels.evaluate(lines, width, false, edge_threshold_, values_.data() + HorizontalValues(j));
}

BoundaryPool BlockingMetric::PoolBoundary(const int32_t* values, ptrdiff_t start, ptrdiff_t along, ptrdiff_t across,
                                          int length, float* map) const {
  const BoundaryPool pool = ActiveBlockingLaneKernels().pool(values, length);
  if (map == nullptr) return pool;
  int previous_mark = 0;
  for (int i = 0; i < length; ++i) {
    const int v = values[i];
    const int mark = i % 8 == 0 ? v : std::clamp(v, previous_mark - step_limit_, previous_mark + step_limit_);
    previous_mark = mark;
    const ptrdiff_t at = start + i * along;
    map[at] = map[at + across] = static_cast<float>(std::min(255, mark));
  }
  return pool;
}

template <typename Work>
void BlockingMetric::SpreadOverThreads(int count, Work work) {
  const int parts = std::min(count, params_.pool == nullptr ? 1 : params_.pool->Threads());
  RunParts(params_.pool, parts, [&](int part) {
    work(count * part / parts, count * (part + 1) / parts, line_terms_[static_cast<size_t>(part)]);
  });
}

size_t BlockingMetric::VerticalValues(int j) const {
  return static_cast<size_t>(j) * static_cast<size_t>(params_.height);
}

size_t BlockingMetric::HorizontalValues(int j) const {
  return VerticalValues(std::max(params_.width / 8 - 1, 0)) + static_cast<size_t>(j) * static_cast<size_t>(params_.width);
}

template <typename Sample>
float BlockingMetric::FrameValue(const Sample* plane, float* map) {
  // The evaluation works on the picture turned upside down: copy row k is plane row H − 1 − k. Walking the
  // plane from its last row with a negative row step gives that order without copying.
  const int width = params_.width;
  const int height = params_.height;
  const ptrdiff_t down = -static_cast<ptrdiff_t>(width);
  const ptrdiff_t last_row = static_cast<ptrdiff_t>(height - 1) * width;
  const Sample* copy = plane + last_row;
  const int vertical = std::max(width / 8 - 1, 0);
  const int horizontal = std::max(height / 8 - 1, 0);
  // Every position is evaluated on its own: the vertical boundaries band by band of eight rows, so that the
  // rows they read stay in the cache, the horizontal ones boundary by boundary along their rows.
  SpreadOverThreads((height + 7) / 8, [&](int first, int last, LineTerms& scratch) {
    EvaluateVerticalBands(copy, first, last, scratch);
  });
  SpreadOverThreads(horizontal, [&](int first, int last, LineTerms& scratch) {
    for (int j = first; j < last; ++j) EvaluateHorizontal(copy, j, scratch);
  });
  // Pooling and marks follow each boundary in order. Each direction's boundaries mark disjoint map pixels;
  // where the directions cross, the horizontal marks come last, as in a sequential walk.
  SpreadOverThreads(vertical, [&](int first, int last, LineTerms&) {
    for (int j = first; j < last; ++j) {
      pools_[static_cast<size_t>(j)] =
          PoolBoundary(values_.data() + VerticalValues(j), last_row + 8 * j + 7, down, 1, height, map);
    }
  });
  SpreadOverThreads(horizontal, [&](int first, int last, LineTerms&) {
    for (int j = first; j < last; ++j) {
      pools_[static_cast<size_t>(vertical + j)] =
          PoolBoundary(values_.data() + HorizontalValues(j), last_row + (8 * j + 7) * down, 1, down, width, map);
    }
  });
  int64_t total = 0;
  int32_t count = 0;
  for (const BoundaryPool& pool : pools_) {
    total += pool.total;
    count += pool.count;
  }
  if (count == 0) return 0.0f;
  // The pooled values are positive integers (a real edge, −1, is not pooled), so while their total stays
  // within 2^24 every single-precision partial sum is exact and the sum is the total. Beyond it the sum is
  // rounded at every step, and only the sequential order gives its value.
  float sum = static_cast<float>(total);
  if (total > (int64_t{1} << 24)) {
    sum = 0.0f;
    for (const int32_t v : values_) {
      if (v != 0 && v != -1) sum += static_cast<float>(v);
    }
  }
  const float value = sum / static_cast<float>(count);
  return value < 0.0f ? 0.0f : value;
}

FrameResult BlockingMetric::Measure(FrameList frames) {
  const float value =
      VisitSamples(*frames[0], params_.component, [&](const auto* plane) { return FrameValue(plane, nullptr); });
  return CompleteFrame({value}, nullptr);
}

FrameResult BlockingMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  const float value = VisitSamples(*frames[0], params_.component,
                                   [&](const auto* plane) { return FrameValue(plane, difference_map()); });
  return CompleteFrame({value}, &target);
}

void BlockingMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
