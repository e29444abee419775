#include "run_plot.h"

#include "plot_file.h"

namespace vidmetra::cli {

std::optional<std::string> WriteRunPlot(const RunRecord& record, const MeasurementRequest& request,
                                        const MetricCatalogue& catalogue, const std::string& path,
                                        std::pair<int, int> size) {
  if (!record.store) return "the run holds no values to plot";
  std::map<int32_t, InputFileEntry> inputs;
  for (size_t i = 0; i < request.files.size(); ++i) inputs[static_cast<int32_t>(i)] = request.files[i];
  const plot::PlotSource source = plot::MakePlotSource(*record.store, std::move(inputs), record.bad_frames, catalogue);
  return plot::WritePlotFile(source, path, size.first, size.second);
}

}  // namespace vidmetra::cli
