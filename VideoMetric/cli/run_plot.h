#pragma once
// --plot: the run's values as a picture file, drawn as the desktop program draws its copied plot.
#include <optional>
#include <string>
#include <utility>

#include "vidmetra/measurement_settings.h"
#include "vidmetra/measurement_worker.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra::cli {

// Every file of the request is an input of the plot, in request order (the original first); an error text when
// no file was written.
std::optional<std::string> WriteRunPlot(const RunRecord& record, const MeasurementRequest& request,
                                        const MetricCatalogue& catalogue, const std::string& path,
                                        std::pair<int, int> size);

}  // namespace vidmetra::cli
