#include "run_plot.h"

#include "plot_module_entry.h"
#include "plot_source.h"
#include "vidmetra/program_folder.h"
#include "vidmetra/shared_module.h"

namespace vidmetra::cli {

std::optional<std::string> WriteRunPlot(const RunRecord& record, const MeasurementRequest& request,
                                        const MetricCatalogue& catalogue, const std::string& path,
                                        std::pair<int, int> size) {
  if (!record.store) return "the run holds no values to plot";
  std::map<int32_t, InputFileEntry> inputs;
  for (size_t i = 0; i < request.files.size(); ++i) inputs[static_cast<int32_t>(i)] = request.files[i];
  const plot::PlotSource source = plot::MakePlotSource(*record.store, std::move(inputs), record.bad_frames, catalogue);
  // The drawing lives beside the program, in the build tree as when installed.
  const std::string module_path = ProgramFolder() + VIDMETRA_PLOT_MODULE;
  // Loaded once and kept: Qt keeps threads and exit handlers of its own that must not outlive its code.
  static SharedModule& module = *new SharedModule;
  if (!module.loaded() && !module.Load(module_path)) return "the plot module cannot be loaded: " + module.failure();
  auto* write = reinterpret_cast<WritePlotFileEntry*>(module.Symbol(kWritePlotFileEntry));
  if (write == nullptr) return "the plot module " + module_path + " has no " + kWritePlotFileEntry;
  std::string error;
  if (!write(source, path.c_str(), size.first, size.second, error)) return error;
  return std::nullopt;
}

}  // namespace vidmetra::cli
