#pragma once
// The driver's frame preparation: built-in metrics read only the plane of their component, so only that plane
// is filled for them; plug-ins get every plane the preparation defines.
#include "vidmetra/measurement_driver.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra {

class PlaneFramePreparer : public FramePreparer {
 public:
  PlaneFramePreparer(const MetricCatalogue& catalogue, int32_t metric_index);
  bool Prepare(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes,
               const MeasurementRequest& request) override;

 private:
  bool all_planes_;
};

}  // namespace vidmetra
