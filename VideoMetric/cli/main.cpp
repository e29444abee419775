// vidmetra-cli: the measurement engine for servers, scripts and pipelines.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <unistd.h>

#include "cli_options.h"
#include "compressor_listing.h"
#include "console_output.h"
#include "interrupt_watch.h"
#include "last_catch.h"
#include "recording_opener.h"
#include "run_plot.h"
#include "run_summary.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/measurement_session.h"

namespace vidmetra::cli {
namespace {

void AddOptions(CLI::App& app, CliOptions& options) {
  app.add_option("inputs", options.positional, "The original, then one or more processed files")->type_name("FILE");
  // One file per occurrence: a list option would otherwise swallow the positional files after it and so change
  // which file is the original.
  app.add_option("-r,--reference", options.references, "The original (reference) file")
      ->type_name("FILE")
      ->allow_extra_args(false);
  app.add_option("-d,--distorted", options.distorted, "A processed file; repeatable")
      ->type_name("FILE")
      ->allow_extra_args(false);
  app.add_option("-m,--metric", options.metric, "Metric name from --list-metrics")->capture_default_str();
  app.add_flag("--list-metrics", options.list_metrics, "List the available metrics and exit");
  app.add_flag("--list-compressors", options.list_compressors,
               "List the compressors a visualization video can be written with, and exit");
  app.add_option("-c,--component", options.component,
                 "Colour component: Y, U, V, L, R, G or B (default: the metric's first)");
  app.add_option("--matrix", options.matrix, "RGB/YUV matrix: rec601 or pc601")->capture_default_str();
  app.add_option("-s,--size", options.size,
                 "Picture size of the raw inputs (.yuv, .seq and files no reader recognises), e.g. 352x288");
  app.add_option("-f,--format", options.format,
                 "Layout of the raw inputs: yv12 (default), iyuv, yuy2, uyvy, yuv, y");
  app.add_option("--config", options.config, "Configuration line of a configurable metric");
  app.add_option("--csv", options.csv_folder, "Write the per-frame values as CSV into this folder")->type_name("DIR");
  app.add_option("--csv-name", options.csv_name, "CSV file name: prefix, postfix or a custom name")
      ->capture_default_str();
  app.add_option("--csv-separator", options.csv_separator, "comma or semicolon")->capture_default_str();
  app.add_flag("--csv-unicode", options.csv_unicode, "Write the CSV file as UTF-16");
  app.add_option("--log", options.log_file, "Append the run log to this file (UTF-16)")->type_name("FILE");
  app.add_option("--plot", options.plot, "Draw the per-frame values of every input into this PNG file")
      ->type_name("FILE");
  app.add_option("--plot-size", options.plot_size, "Picture size of --plot")->type_name("WxH")->capture_default_str();
  app.add_flag("--json", options.json, "Print a JSON summary on standard output");
  app.add_flag("-q,--quiet", options.quiet, "Print no log lines or progress");
  app.add_option("--threads", options.threads,
                 "Threads a run may work with at once, its own included; default: one per core. Results do "
                 "not depend on it")
      ->type_name("N")
      ->check(CLI::Range(1, 1024));
  app.set_version_flag("--version", std::string("vidmetra-cli ") + VIDMETRA_VERSION);
}

void ListMetrics(const MetricCatalogue& catalogue) {
  for (int32_t i = 0; i < catalogue.Count(); ++i) {
    const CatalogueEntry& entry = *catalogue.Entry(i);
    std::string components;
    for (const int32_t component : entry.components) components += std::string(ColourComponentName(component)).substr(0, 1);
    std::printf("%-18s %-28s inputs %d  components %s%s\n", entry.name.c_str(), entry.title.c_str(),
                entry.inputs_plain, components.c_str(), entry.configurable ? "  configurable" : "");
  }
}

int Run(const CliOptions& options) {
  const MetricCatalogue& catalogue = MetricCatalogue::Instance();
  if (options.list_metrics) {
    ListMetrics(catalogue);
    return 0;
  }
  if (options.list_compressors) {
    std::fputs(CompressorListing(CompressorCatalogue::Instance()).c_str(), stdout);
    return 0;
  }
  MeasurementSettings settings;
  if (const auto error = BuildSettings(options, catalogue, settings)) {
    std::fprintf(stderr, "vidmetra-cli: %s\n", error->c_str());
    return 2;
  }
  ConsoleOutput console(catalogue, stderr, options.quiet, isatty(STDERR_FILENO) != 0);
  SemaphoreRunGate gate;
  InterruptWatch interrupts(gate, [&] { console.Notice("stopping after the current frame (Ctrl-C again to abort)"); });
  settings.request.gate = &gate;

  MeasurementSession session(catalogue, settings.request.metric_index, options.threads);
  RecordingOpener opener(session.Files());
  WorkerContext& context = session.Context();
  context.opener = &opener;
  context.progress = &console;
  context.display = &console;
  context.log_path = options.log_file.value_or("");
  context.log_echo = nullptr;  // the log's lines already go to standard error

  RunRecord record;
  std::thread worker([&] { record = session.Run(settings); });
  worker.join();
  console.Finish();  // a run that ended early leaves no progress bar behind
  const std::string summary = options.json ? JsonSummary(record, catalogue, opener.Inputs()) : TextSummary(record, catalogue);
  std::fputs(summary.c_str(), stdout);
  const int exit_code = ExitCode(record, interrupts.interrupted(), settings.csv.enabled);
  if (exit_code != 0 && options.quiet) {
    console.Notice("not everything was measured or saved; run without --quiet for the log");
  }
  if (options.plot) {
    if (const auto error = WriteRunPlot(record, settings.request, catalogue, *options.plot, *ParseSize(options.plot_size))) {
      std::fprintf(stderr, "vidmetra-cli: no plot: %s\n", error->c_str());
      return std::max(exit_code, 1);
    }
  }
  return exit_code;
}

int Main(int argc, char** argv) {
  CliOptions options;
  CLI::App app{"Measures the objective quality of processed video against its original, frame by frame.",
               "vidmetra-cli"};
  AddOptions(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "vidmetra-cli: %s (see --help)\n", e.what());
    return 2;
  }
  return Run(options);
}

}  // namespace
}  // namespace vidmetra::cli

int main(int argc, char** argv) {
  return vidmetra::cli::ExitCodeOf([&] { return vidmetra::cli::Main(argc, argv); }, stderr);
}
