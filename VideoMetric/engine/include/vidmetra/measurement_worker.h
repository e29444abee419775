#pragma once
// Frames one run: prepares the request, runs the measurement, writes the CSV file and hands back a record of
// everything the run produced.
#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vidmetra/measurement_driver.h"
#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/result_store.h"
#include "vidmetra/run_log.h"

namespace vidmetra {

struct RunRecord {
  std::unique_ptr<ResultStore> store;
  RunStatus status{0, 0};
  int32_t colour_matrix = kRec601;
  bool success = false;
  std::string csv_path;  // empty when no CSV file was written
  bool log_failed = false;  // a log file was asked for and not every line reached it
  std::optional<std::vector<int32_t>> bad_frames;  // ascending; none when bad frames were not saved
};

struct WorkerContext {
  const MetricCatalogue* catalogue = nullptr;
  FramePreparer* preparer = nullptr;
  ReaderOpener* opener = nullptr;
  VisualizationFactory* visualization = nullptr;
  TaskPool* pool = nullptr;  // the threads the metrics may use; none: the worker's thread alone
  ProgressSink* progress = nullptr;
  LineDisplay* display = nullptr;
  std::string log_path;            // the UTF-16 run log, appended; empty for none
  std::FILE* log_echo = stdout;    // where the log file's lines are echoed; null for nowhere
  std::atomic<bool>* run_flag = nullptr;
};

// Runs on the measurement thread. The request's gate (if any) is set by the caller. Never throws: anything
// unexpected becomes a log line, a false success and a measurement status of at most 1.
RunRecord MeasurementWorker(MeasurementSettings& settings, const WorkerContext& context);

// The line a progress display shows when a file starts: "Measuring YYUV PSNR orig.yuv enc.yuv ".
std::string MeasuringLine(const std::string& title, const std::vector<std::string>& paths, int32_t component);

}  // namespace vidmetra
