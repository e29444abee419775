#include "vidmetra/measurement_worker.h"

#include <algorithm>

#include "vidmetra/colour_component.h"
#include "vidmetra/csv_writer.h"
#include "vidmetra/output_name.h"
#include "vidmetra/unexpected_failure.h"

namespace vidmetra {
namespace {

void Quoted(RunLog& log, const std::string& prefix, const std::string& text) { log.Write(prefix + "\"" + text + "\""); }

// Clears the sinks from the request however the run ends: they die with the worker.
struct RequestSinks {
  RequestSinks(MeasurementRequest& request, ProgressSink* progress, RunLog* log) : request_(request) {
    request_.progress = progress;
    request_.log = log;
  }
  ~RequestSinks() {
    request_.progress = nullptr;
    request_.log = nullptr;
  }
  MeasurementRequest& request_;
};

std::string WriteCsv(const MeasurementSettings& settings, const MetricCatalogue& catalogue, const ResultStore& store,
                     RunLog& log) {
  Quoted(log, "Saving CSV to ", settings.csv.output_folder);
  CsvWriter writer(settings.csv, catalogue);
  const bool written = writer.Write(store);
  Quoted(log, written ? "CSV saved to " : "Failed to save CSV to ", writer.path());
  return written ? writer.path() : std::string();
}

void FailUnexpectedly(RunRecord& record) {
  record.success = false;
  record.status.measurement = std::min(record.status.measurement, 1);
}

void RunAndSave(MeasurementSettings& settings, const WorkerContext& context, RunRecord& record) {
  MeasurementRequest& request = settings.request;
  request.visualization = settings.visualization;
  request.visualization.caption = settings.caption;
  // The log file is closed before the run is marked as over.
  FileLog file(context.log_path, context.log_echo);
  TimeStampedLog log(context.display, &file);
  RequestSinks sinks(request, context.progress, &log);
  try {
    const std::vector<std::string>& configurations = settings.input.metric_configurations;
    if (request.metric_index >= 0 && static_cast<size_t>(request.metric_index) < configurations.size()) {
      request.configuration = configurations[static_cast<size_t>(request.metric_index)];
    }
    const DriverServices services{context.catalogue, context.preparer, context.opener, context.visualization,
                                  context.pool};
    record.success = RunMeasurement(request, *record.store, record.status, services);
    if (settings.csv.enabled && record.status.measurement != 0) {
      record.csv_path = WriteCsv(settings, *context.catalogue, *record.store, log);
    }
  } catch (...) {
    LogUnexpectedFailure(&log, kUnexpectedFailurePrefix);
    FailUnexpectedly(record);
  }
  record.log_failed = file.failed();
}

}  // namespace

RunRecord MeasurementWorker(MeasurementSettings& settings, const WorkerContext& context) {
  if (context.run_flag != nullptr) *context.run_flag = true;
  RunRecord record;
  record.store = std::make_unique<ResultStore>();
  record.colour_matrix = settings.request.colour_matrix;
  try {
    RunAndSave(settings, context, record);
  } catch (...) {
    // Only setting up the log itself gets here: there is no log to tell.
    FailUnexpectedly(record);
  }
  if (context.run_flag != nullptr) *context.run_flag = false;
  return record;
}

std::string MeasuringLine(const std::string& title, const std::vector<std::string>& paths, int32_t component) {
  std::string line = std::string("Measuring ") + ColourComponentName(component) + " " + title + " ";
  for (const std::string& path : paths) line.append(FileNameOf(path)).append(" ");
  return line;
}

}  // namespace vidmetra
