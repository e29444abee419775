#pragma once
// What a results plot shows: the run's values, its inputs, its bad frames, and what the value axis measures.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "value_scale.h"
#include "vidmetra/input_file_entry.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/result_store.h"

namespace vidmetra::plot {

struct PlotSource {
  const ResultStore* store = nullptr;
  std::map<int32_t, InputFileEntry> inputs;  // 0 original, 1 first processed, 2 second processed
  std::optional<std::vector<int32_t>> bad_frames;
  std::string value_title;  // e.g. "YYUV PSNR [dB]"
  // Input index -> the series drawn for it; inputs without a series are absent.
  std::map<int32_t, int32_t> series;
};

// Fills everything but the store and the inputs from them: each input's series and the axis title.
PlotSource MakePlotSource(const ResultStore& store, std::map<int32_t, InputFileEntry> inputs,
                          std::optional<std::vector<int32_t>> bad_frames, const MetricCatalogue& catalogue);

// For each input, the series measured on that file alone, or on two files of which the second is that file.
std::map<int32_t, int32_t> SeriesOfInputs(const ResultStore& store, const std::map<int32_t, InputFileEntry>& inputs);

// The component code name of the first series, a space, the metric's title, and " [units]" when it has units.
std::string ValueAxisTitle(const ResultStore& store, const MetricCatalogue& catalogue);

// The frames every series has a value at, and the value extremes over them.
struct PlotRange {
  int32_t first = 0;
  int32_t last = 0;
  ValueRange values;
};
// None when no series holds a value, or the series share no frame.
std::optional<PlotRange> ComputePlotRange(const ResultStore& store);

}  // namespace vidmetra::plot
