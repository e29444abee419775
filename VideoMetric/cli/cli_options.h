#pragma once
// What the command line asks for, and how it becomes the settings of one run.
#include <optional>
#include <string>
#include <vector>

#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra::cli {

struct CliOptions {
  std::vector<std::string> positional;  // original first, then the processed files
  std::vector<std::string> references;
  std::vector<std::string> distorted;
  std::string metric = "psnr";
  std::optional<std::string> component;
  std::string matrix = "rec601";
  std::optional<std::string> size;
  std::optional<std::string> format;
  std::optional<std::string> config;
  std::optional<std::string> csv_folder;
  std::string csv_name = "prefix";
  std::string csv_separator = "comma";
  bool csv_unicode = false;
  std::optional<std::string> log_file;
  std::optional<std::string> plot;
  std::string plot_size = "1600x600";
  bool json = false;
  bool quiet = false;
  bool list_metrics = false;
  bool list_compressors = false;
  int threads = 0;  // 0: one per core
};

// Fills `settings` for a run of `options`; on a usage error returns its one-line message.
std::optional<std::string> BuildSettings(const CliOptions& options, const MetricCatalogue& catalogue,
                                         MeasurementSettings& settings);

// "WxH" with both above 0.
std::optional<std::pair<int, int>> ParseSize(const std::string& text);

}  // namespace vidmetra::cli
