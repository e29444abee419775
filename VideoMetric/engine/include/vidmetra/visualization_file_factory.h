#pragma once
// Creates the visualization files a run writes, all captioned in the shared caption font. The font is looked up
// when the first file is created, so runs without visualization never wait for fontconfig.
#include "vidmetra/measurement_driver.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra {

class VisualizationFileFactory final : public VisualizationFactory {
 public:
  explicit VisualizationFileFactory(const MetricCatalogue& catalogue) : catalogue_(catalogue) {}
  std::unique_ptr<VisualizationOutput> Create(const VisualizationSettings& settings,
                                              const std::vector<int32_t>& result_ids,
                                              const ResultStore& store) override;

 private:
  const MetricCatalogue& catalogue_;
};

}  // namespace vidmetra
