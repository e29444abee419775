#pragma once
// Runs one measurement: opens the inputs, checks sizes, creates and configures the metrics, walks the frames,
// stores every value in the ResultStore and reports each step to the run log. Never throws; failures are log
// lines and status changes, and so is anything a collaborator throws, which ends the run.
// Several metrics in one request share one pass over the files: each frame is decoded once, each component
// prepared once, and every metric keeps series of its own.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "vidmetra/frame_preparation.h"
#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric.h"
#include "vidmetra/result_store.h"
#include "vidmetra/sequence_reader.h"

namespace vidmetra {

// measurement: 2 every step succeeded, 1 something failed (or a reference run was stopped), 0 nothing measured.
// visualization: 2 no problem, 1 the visualization file failed to open, 0 nothing measured.
struct RunStatus {
  int32_t measurement = 2;
  int32_t visualization = 2;
  bool operator==(const RunStatus&) const = default;
};

// The metric catalogue as the driver sees it.
class MetricSource {
 public:
  virtual ~MetricSource() = default;
  // 0 for an index outside the catalogue.
  virtual int32_t InputCount(int32_t index, bool with_visualization) const = 0;
  virtual std::string Title(int32_t index) const = 0;
  virtual std::unique_ptr<Metric> CreateMetric(int32_t index, const MetricParams& params) const = 0;
  // Built-in metrics only read the planes they are handed and share no state between objects, so they may
  // share prepared planes and measure side by side; a plug-in is given planes of its own and its own turn.
  virtual bool IsBuiltIn(int32_t index) const = 0;
  // Which planes the preparation may keep as bytes for the metric (PlaneFrame::ComponentBytes).
  virtual ByteKeeping BytesKept(int32_t index) const {
    (void)index;
    return ByteKeeping::kNone;
  }
};

class FramePreparer {
 public:
  virtual ~FramePreparer() = default;
  // Fills `planes` from a decoded frame for what `metric` measures, under `colour_matrix`, keeping bytes as every
  // metric handed the planes allows. Called for the inputs of a frame at once, on different threads, each with
  // its own frames and planes.
  virtual bool Prepare(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes, const MetricChoice& metric,
                       int32_t colour_matrix, ByteKeeping keeping) = 0;
  // Built-in metrics with equal keys are handed the same planes, prepared once for frames of these colour
  // spaces (one per input) with the key as component; the key fills every plane each of them reads.
  virtual int32_t PreparationKey(const MetricChoice& metric, std::span<const int32_t> colour_spaces) const {
    (void)colour_spaces;
    return metric.component;
  }
};

class ReaderOpener {
 public:
  virtual ~ReaderOpener() = default;
  // Null when the entry cannot be opened.
  virtual std::unique_ptr<SequenceReader> Open(const InputFileEntry& entry) = 0;
  // Why the last Open gave null, as the reader put it; empty when unknown.
  virtual std::string LastFailure() const { return {}; }
};

class VisualizationOutput {
 public:
  virtual ~VisualizationOutput() = default;  // closes the file
  virtual bool Open() = 0;
  // Closes the file; false when a frame or the end of the file could not be written.
  virtual bool Close() = 0;
  virtual std::string Path() const = 0;
  virtual void WriteFrame(VideoFrame& image, int32_t frame_number, const FrameResult& result,
                          const ResultStore& store) = 0;
};

class VisualizationFactory {
 public:
  virtual ~VisualizationFactory() = default;
  virtual std::unique_ptr<VisualizationOutput> Create(const VisualizationSettings& settings,
                                                      const std::vector<int32_t>& result_ids,
                                                      const ResultStore& store) = 0;
};

struct DriverServices {
  const MetricSource* metrics = nullptr;
  FramePreparer* preparer = nullptr;
  ReaderOpener* opener = nullptr;
  VisualizationFactory* visualization = nullptr;  // may be absent: visualization then fails to open
  TaskPool* pool = nullptr;                       // lent to the metrics; absent: they work on the calling thread
  std::vector<std::string>* files_written = nullptr;  // receives each visualization file written in full
};

// The line that reports an exception which ended a run, followed by its text.
inline constexpr const char* kUnexpectedFailurePrefix = "Measurement aborted by an unexpected error: ";

// The request's metric followed by its further metrics.
std::vector<MetricChoice> RequestedMetrics(const MeasurementRequest& request);

// With further metrics, the two-input ones are measured in one reference pass and then the one-input ones in
// one single-file pass (stopping the first pass skips the second); the status is then 0 only when neither
// pass measured anything, and 2 only when both went well.
bool RunMeasurement(MeasurementRequest& request, ResultStore& store, RunStatus& status, const DriverServices& services);
// Both measure every metric of the request.
bool RunSingleFileMode(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                       const DriverServices& services);
bool RunReferenceMode(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                      const DriverServices& services);

}  // namespace vidmetra
