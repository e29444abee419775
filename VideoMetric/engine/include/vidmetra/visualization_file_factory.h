#pragma once
// Creates the visualization files a run writes, all captioned with one font.
#include "vidmetra/caption_canvas.h"
#include "vidmetra/measurement_driver.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra {

class VisualizationFileFactory final : public VisualizationFactory {
 public:
  VisualizationFileFactory(const MetricCatalogue& catalogue, const TextStamp& stamp)
      : catalogue_(catalogue), stamp_(stamp) {}
  std::unique_ptr<VisualizationOutput> Create(const VisualizationSettings& settings,
                                              const std::vector<int32_t>& result_ids,
                                              const ResultStore& store) override;

 private:
  const MetricCatalogue& catalogue_;
  const TextStamp& stamp_;
};

}  // namespace vidmetra
