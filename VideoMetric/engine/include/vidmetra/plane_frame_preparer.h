#pragma once
// The driver's frame preparation: built-in metrics read only the plane of their component, so only that plane
// is filled for them; plug-ins get every plane the preparation defines.
#include "vidmetra/measurement_driver.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra {

class PlaneFramePreparer : public FramePreparer {
 public:
  explicit PlaneFramePreparer(const MetricCatalogue& catalogue) : catalogue_(catalogue) {}
  bool Prepare(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes, const MetricChoice& metric,
               int32_t colour_matrix, ByteKeeping keeping) override;
  int32_t PreparationKey(const MetricChoice& metric, std::span<const int32_t> colour_spaces) const override;

 private:
  const MetricCatalogue& catalogue_;
};

}  // namespace vidmetra
