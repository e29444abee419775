#include "vidmetra/plane_frame_preparer.h"

#include "vidmetra/frame_preparation.h"

namespace vidmetra {

bool PlaneFramePreparer::Prepare(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes,
                                 const MetricChoice& metric, int32_t colour_matrix) {
  return PrepareFrame(decoded, scratch, planes, metric.component, colour_matrix,
                      !catalogue_.IsBuiltIn(metric.metric_index));
}

}  // namespace vidmetra
