#pragma once
// What a built-in metric is, known without creating one: the metric object and the metric catalogue both read
// it from here.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vidmetra {

// All help pages are anchors of one page.
inline constexpr std::string_view kHelpPage = "https://vidmetra.org/help/metrics.html#";

struct MetricDescriptor {
  std::string_view name;  // the internal key, saved in the settings
  std::string_view title;
  std::string_view units = {};
  std::span<const int32_t> components;  // the ColourComponent codes accepted, in the order offered
  int32_t inputs_plain;                 // 1: each file alone; 2: the original against a processed file
  int32_t inputs_visualized;
  bool higher_is_better;
  int32_t width_multiple = 2;
  int32_t height_multiple = 2;
  bool configurable = false;
  std::string_view default_configuration = {};
  bool reads_bytes = false;       // takes 8-bit planes as bytes where the preparation keeps them so
  bool differences_only = false;  // its values depend on nothing but differences of the inputs' samples

  // The help page's anchor named after the metric.
  std::string HelpAddress() const { return std::string(kHelpPage).append(name); }
};

}  // namespace vidmetra
