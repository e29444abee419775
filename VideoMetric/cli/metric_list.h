#pragma once
// The --metric list: "psnr,ssim:Y,vqm", each entry a metric name with an optional component, or "all" for every
// built-in metric.
#include <optional>
#include <string>
#include <vector>

#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra::cli {

// The metrics of `text` in the order given; entries without a component take `default_component` (a Y, U, V,
// L, R, G or B letter) or, without one, the metric's first component. On a usage error returns its one-line
// message, which names the offending entry.
std::optional<std::string> ParseMetricList(const std::string& text, const std::optional<std::string>& default_component,
                                           const MetricCatalogue& catalogue, std::vector<MetricChoice>& metrics);

// The component code of a letter (either case); none for anything else.
std::optional<int32_t> ComponentOfLetter(const std::string& text);

}  // namespace vidmetra::cli
