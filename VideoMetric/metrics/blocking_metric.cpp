#include "vidmetra/blocking_metric.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "vidmetra/map_renderer.h"

namespace vidmetra {
namespace {

// Truncation toward zero; values no int can hold (only from corrupt planes) count as 0 rather than undefined.
int Truncate(double value) {
  return value > -2147483648.0 && value < 2147483648.0 ? static_cast<int>(value) : 0;
}

struct LineTerms {
  int d0, d1, d2;
  float s0, s1;
};

LineTerms ReadLine(const float* s0, ptrdiff_t across) {
  const float before = s0[-across];
  const float s1 = s0[across];
  const float after = s0[2 * across];
  return {Truncate(before - s0[0]), Truncate(s0[0] - s1), Truncate(s1 - after), s0[0], s1};
}

int AlongVariation(const LineTerms* line, int lines) {
  if (lines == 2) {
    return Truncate(std::fabs(line[0].s0 - line[1].s0)) + Truncate(std::fabs(line[0].s1 - line[1].s1));
  }
  const LineTerms& u = line[0];
  const LineTerms& m = line[1];
  const LineTerms& w = line[2];
  return (Truncate(std::fabs(m.s0 - w.s0) + std::fabs(u.s0 - m.s0)) >> 1) +
         (Truncate(std::fabs(m.s1 - w.s1) + std::fabs(u.s1 - m.s1)) >> 1);
}

}  // namespace

BlockingMetric::BlockingMetric(const MetricParams& params) : MetricBase(params, kDescriptor) {}

double BlockingMetric::EvaluatePosition(const float* first, ptrdiff_t along, ptrdiff_t across, int lines,
                                        bool limited) const {
  LineTerms line[3];
  int excess = 0;
  int step = 0;
  int activity_sum = 0;
  for (int i = 0; i < lines; ++i) {
    line[i] = ReadLine(first + i * along, across);
    excess += line[i].d1 - ((line[i].d0 + line[i].d2) >> 1);
    step += line[i].d1;
    activity_sum += std::abs(line[i].d0) + std::abs(line[i].d2);
  }
  const double e = lines == 2 ? std::abs(excess) * 0.5 : std::abs(excess) * (1.0 / 3.0);
  if (std::abs(step) / lines > edge_threshold_) return -1.0;
  const double e2 = e * 0.5;
  const int variation = AlongVariation(line, lines);
  if (variation + activity_sum < lines + 1) return 16.0 * Truncate(e);
  double activity_terms = 0.0;
  for (int i = 0; i < lines; ++i) activity_terms += e2 / (std::abs(line[i].d0) + std::abs(line[i].d2) + 1);
  const double mean_activity_term = activity_terms * (lines == 2 ? 0.5 : static_cast<double>(0.33333334f));
  const double result = e * (e2 / (variation + 1)) * mean_activity_term;
  return limited ? std::min(result, 255.0) : result;
}

void BlockingMetric::VisitBoundary(const float* start, ptrdiff_t along, ptrdiff_t across, int length,
                                   bool limit_inner, const float* plane, float* map, Pool& pool) const {
  int previous_mark = 0;
  for (int i = 0; i < length; ++i) {
    const int phase = i % 8;
    const int lines = phase == 0 || phase == 7 ? 2 : 3;
    const float* first = start + (phase == 0 ? i : i - 1) * along;
    const int v = Truncate(EvaluatePosition(first, along, across, lines, limit_inner && phase != 7));
    if (v != 0 && v != -1) {
      pool.count += 1;
      pool.sum += static_cast<float>(v);
    }
    if (map == nullptr) continue;
    const int mark = phase == 0 ? v : std::clamp(v, previous_mark - step_limit_, previous_mark + step_limit_);
    previous_mark = mark;
    const ptrdiff_t at = start + i * along - plane;
    map[at] = map[at + across] = static_cast<float>(std::min(255, mark));
  }
}

float BlockingMetric::FrameValue(const float* plane, float* map) const {
  // The evaluation works on the picture turned upside down: copy row k is plane row H − 1 − k. Walking the
  // plane from its last row with a negative row step gives that order without copying.
  const int width = params_.width;
  const int height = params_.height;
  const ptrdiff_t down = -static_cast<ptrdiff_t>(width);
  const float* copy = plane + static_cast<ptrdiff_t>(height - 1) * width;
  Pool pool;
  for (int j = 0; j + 1 < width / 8; ++j) {
    VisitBoundary(copy + 8 * j + 7, down, 1, height, true, plane, map, pool);
  }
  for (int j = 0; j + 1 < height / 8; ++j) {
    VisitBoundary(copy + (8 * j + 7) * down, 1, down, width, false, plane, map, pool);
  }
  if (pool.count == 0) return 0.0f;
  const float value = pool.sum / static_cast<float>(pool.count);
  return value < 0.0f ? 0.0f : value;
}

FrameResult BlockingMetric::Measure(FrameList frames) {
  return CompleteFrame({FrameValue(Plane(frames, 0), nullptr)}, nullptr);
}

FrameResult BlockingMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  return CompleteFrame({FrameValue(Plane(frames, 0), difference_map())}, &target);
}

void BlockingMetric::RenderVisualization(VideoFrame& target) { RenderGreyMap(difference_map(), target); }

}  // namespace vidmetra
