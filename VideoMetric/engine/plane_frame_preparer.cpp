#include "vidmetra/plane_frame_preparer.h"

#include "vidmetra/frame_preparation.h"

namespace vidmetra {

PlaneFramePreparer::PlaneFramePreparer(const MetricCatalogue& catalogue, int32_t metric_index) {
  const CatalogueEntry* entry = catalogue.Entry(metric_index);
  all_planes_ = entry == nullptr || entry->kind == kPluginKind;
}

bool PlaneFramePreparer::Prepare(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes,
                                 const MeasurementRequest& request) {
  return PrepareFrame(decoded, scratch, planes, request.component, request.colour_matrix, all_planes_);
}

}  // namespace vidmetra
