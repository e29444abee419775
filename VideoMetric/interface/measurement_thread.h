#pragma once
// One run on its own thread: the engine's worker with the progress dialog as its display, ending with the record
// handed to the dialog.
#include <atomic>
#include <string>
#include <thread>

#include "progress_dialog.h"
#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra::ui {

class MeasurementThread {
 public:
  // The settings are read (and the request's sinks set) by the worker until it has handed over its record; the
  // caller keeps them unchanged until then.
  MeasurementThread(MeasurementSettings& settings, const MetricCatalogue& catalogue, ProgressDialog& dialog,
                    std::string log_path, std::atomic<bool>& run_flag);
  // Waits for the worker, which by the hand-over has nothing left to do.
  ~MeasurementThread();
  MeasurementThread(const MeasurementThread&) = delete;
  MeasurementThread& operator=(const MeasurementThread&) = delete;

 private:
  std::thread thread_;
};

}  // namespace vidmetra::ui
