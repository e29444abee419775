#include "vidmetra/measurement_worker.h"

#include <algorithm>
#include <array>

#include "vidmetra/bad_frame_saver.h"
#include "vidmetra/caption_font.h"
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

// The series of each metric and component, in the order of their first series.
std::vector<std::vector<int32_t>> SeriesByMetric(const ResultStore& store) {
  std::vector<std::pair<MetricChoice, std::vector<int32_t>>> groups;
  for (const int32_t id : store.SeriesIds()) {
    const SeriesInfo& info = *store.Series(id);
    const MetricChoice metric{info.metric_index, info.component, {}};
    auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == metric; });
    if (group == groups.end()) group = groups.insert(groups.end(), {metric, {}});
    group->second.push_back(id);
  }
  std::vector<std::vector<int32_t>> ids;
  for (auto& group : groups) ids.push_back(std::move(group.second));
  return ids;
}

void WriteCsv(const MeasurementSettings& settings, const MetricCatalogue& catalogue, const ResultStore& store,
              RunLog& log, RunRecord& record) {
  Quoted(log, "Saving CSV to ", settings.csv.output_folder);
  auto write = [&](const ResultStore& part) {
    CsvWriter writer(settings.csv, catalogue);
    const bool written = writer.Write(part);
    Quoted(log, written ? "CSV saved to " : "Failed to save CSV to ", writer.path());
    if (written) {
      record.csv_paths.push_back(writer.path());
      record.files_written.push_back(writer.path());
    } else {
      ++record.csv_failures;
    }
  };
  if (!settings.csv.per_metric) return write(store);
  for (const std::vector<int32_t>& ids : SeriesByMetric(store)) write(store.Subset(ids));
}

// Every metric runs with the configuration the settings keep for its catalogue entry.
void ApplyConfiguration(const std::vector<std::string>& configurations, int32_t metric_index,
                        std::string& configuration) {
  if (metric_index >= 0 && static_cast<size_t>(metric_index) < configurations.size()) {
    configuration = configurations[static_cast<size_t>(metric_index)];
  }
}

// Pictures without caption text are still pictures; the log says why their captions are missing.
void WarnWithoutCaptionFont(const MeasurementSettings& settings, RunLog& log) {
  if ((settings.visualization.enabled || settings.bad_frames.enabled) && !CaptionFont::Shared().usable()) {
    log.Write("No font for captions found; pictures are saved without caption text");
  }
}

// The run's original and its first two processed files, as the bad frames know them.
std::array<InputFileEntry, 3> RunInputs(const MeasurementSettings& settings) {
  std::array<InputFileEntry, 3> inputs;
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (!settings.input.inputs[i].path.empty()) inputs[i] = settings.input.inputs[i];
  }
  return inputs;
}

void SaveBadFrames(MeasurementSettings& settings, const WorkerContext& context, RunRecord& record, RunLog& log) {
  Quoted(log, "Saving bad frames to ", settings.bad_frames.output_folder);
  BadFrameSettings bad_frames = settings.bad_frames;
  bad_frames.inputs = RunInputs(settings);
  bad_frames.caption = settings.caption;
  BadFrameSaver saver(bad_frames, settings.request.colour_matrix, *context.catalogue, *context.opener,
                      CaptionFont::Shared());
  std::vector<int32_t> chosen = saver.SaveBadFrames(*record.store);
  record.files_written.insert(record.files_written.end(), saver.FilesWritten().begin(), saver.FilesWritten().end());
  if (saver.AllSaved()) {
    log.Write("Bad frames saved");
    record.bad_frames = std::move(chosen);
  } else {
    log.Write("Failed to save bad frames!");
    record.bad_frames_failed = true;
  }
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
    ApplyConfiguration(configurations, request.metric_index, request.configuration);
    for (MetricChoice& choice : request.further_metrics) {
      ApplyConfiguration(configurations, choice.metric_index, choice.configuration);
    }
    const DriverServices services{context.catalogue, context.preparer, context.opener, context.visualization,
                                  context.pool, &record.files_written};
    WarnWithoutCaptionFont(settings, log);
    record.success = RunMeasurement(request, *record.store, record.status, services);
    if (settings.csv.enabled && record.status.measurement != 0) {
      WriteCsv(settings, *context.catalogue, *record.store, log, record);
    }
    if (settings.bad_frames.enabled && record.status.measurement == 2) SaveBadFrames(settings, context, record, log);
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
