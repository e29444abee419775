#pragma once
// One run's machinery, set up the same way for every front end: the engine's threads, the readers of the inputs
// and the frame preparation. A front end adds its sinks to the context and runs the worker on a thread of its own.
#include "vidmetra/file_reader_opener.h"
#include "vidmetra/measurement_worker.h"
#include "vidmetra/plane_frame_preparer.h"
#include "vidmetra/task_pool.h"

namespace vidmetra {

class MeasurementSession {
 public:
  // `threads` at work at once, the run's own included; 0 means one per core. Video decoders get as many.
  MeasurementSession(const MetricCatalogue& catalogue, int32_t metric_index, int threads = 0);
  MeasurementSession(const MeasurementSession&) = delete;
  MeasurementSession& operator=(const MeasurementSession&) = delete;

  // Catalogue, preparer, pool and opener are set; the progress, display, log and run flag are the caller's.
  WorkerContext& Context() { return context_; }
  // The readers' opener, for a front end that wraps it (the context's opener is replaced by the wrapper).
  ReaderOpener& Files() { return files_; }
  int Threads() const { return pool_.Threads(); }

  RunRecord Run(MeasurementSettings& settings) { return MeasurementWorker(settings, context_); }

 private:
  TaskPool pool_;
  FileReaderOpener files_;
  PlaneFramePreparer preparer_;
  WorkerContext context_;
};

}  // namespace vidmetra
