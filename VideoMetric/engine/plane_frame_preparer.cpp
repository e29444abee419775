#include "vidmetra/plane_frame_preparer.h"

#include "vidmetra/frame_preparation.h"

namespace vidmetra {

bool PlaneFramePreparer::Prepare(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes,
                                 const MetricChoice& metric, int32_t colour_matrix, ByteKeeping keeping) {
  return PrepareFrame(decoded, scratch, planes, metric.component, colour_matrix,
                      !catalogue_.IsBuiltIn(metric.metric_index), keeping);
}

int32_t PlaneFramePreparer::PreparationKey(const MetricChoice& metric, std::span<const int32_t> colour_spaces) const {
  if (!catalogue_.IsBuiltIn(metric.metric_index) || colour_spaces.empty()) return metric.component;
  const int32_t key = SharedPreparationComponent(metric.component, colour_spaces.front());
  for (const int32_t colour_space : colour_spaces) {
    if (SharedPreparationComponent(metric.component, colour_space) != key) return metric.component;
  }
  return key;
}

}  // namespace vidmetra
