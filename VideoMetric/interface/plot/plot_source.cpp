#include "plot_source.h"

#include <algorithm>
#include <cmath>

#include "vidmetra/colour_component.h"

namespace vidmetra::plot {

PlotSource MakePlotSource(const ResultStore& store, std::map<int32_t, InputFileEntry> inputs,
                          std::optional<std::vector<int32_t>> bad_frames, const MetricCatalogue& catalogue) {
  PlotSource source;
  source.store = &store;
  source.series = SeriesOfInputs(store, inputs);
  source.inputs = std::move(inputs);
  source.bad_frames = std::move(bad_frames);
  source.value_title = ValueAxisTitle(store, catalogue);
  return source;
}

std::map<int32_t, int32_t> SeriesOfInputs(const ResultStore& store, const std::map<int32_t, InputFileEntry>& inputs) {
  std::map<int32_t, int32_t> series;
  for (const auto& [index, entry] : inputs) {
    for (const int32_t id : store.SeriesIds()) {
      const SeriesInfo& info = *store.Series(id);
      // Paths decide: the run may have filled in what a reader found out about the file.
      const bool own = (info.files.size() == 1 && info.files[0].path == entry.path) ||
                       (info.files.size() == 2 && info.files[1].path == entry.path);
      if (own && !store.Values(id).empty()) {
        series[index] = id;
        break;
      }
    }
  }
  return series;
}

std::string ValueAxisTitle(const ResultStore& store, const MetricCatalogue& catalogue) {
  const std::vector<int32_t> ids = store.SeriesIds();
  if (ids.empty()) return {};
  const SeriesInfo& info = *store.Series(ids.front());
  std::string title = std::string(ColourComponentName(info.component)) + " ";
  if (const CatalogueEntry* entry = catalogue.Entry(info.metric_index)) {
    title += entry->title;
    if (!entry->units.empty()) title += " [" + entry->units + "]";
  }
  return title;
}

std::optional<PlotRange> ComputePlotRange(const ResultStore& store) {
  std::optional<PlotRange> range;
  for (const int32_t id : store.SeriesIds()) {
    const std::vector<FrameValue>& values = store.Values(id);
    if (values.empty()) continue;
    const int32_t first = values.front().frame;
    const int32_t last = values.back().frame;
    if (!range) range = PlotRange{first, last, {}};
    range->first = std::max(range->first, first);
    range->last = std::min(range->last, last);
  }
  if (!range || range->first > range->last) return std::nullopt;
  std::optional<float> minimum;
  std::optional<float> maximum;
  for (const int32_t id : store.SeriesIds()) {
    for (int32_t frame = range->first; frame <= range->last; ++frame) {
      const std::optional<float> value = store.ValueAt(id, frame);
      // A value that is no number would stretch the axis to nothing useful; the curve ends there instead.
      if (!value || !std::isfinite(*value)) continue;
      minimum = std::min(minimum.value_or(*value), *value);
      maximum = std::max(maximum.value_or(*value), *value);
    }
  }
  range->values = WidenFlatRange(minimum.value_or(0.0f), maximum.value_or(0.0f));
  return range;
}

}  // namespace vidmetra::plot
