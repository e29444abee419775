#include "vidmetra/measurement_driver.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <optional>
#include <span>
#include <string_view>

#include "vidmetra/frame_pipeline.h"
#include "vidmetra/plane_sets.h"
#include "vidmetra/task_pool.h"
#include "vidmetra/unexpected_failure.h"

namespace vidmetra {
namespace {

constexpr std::string_view kReadFailure = "Failed to read frame from sequence; measurement skipped";
constexpr std::string_view kConversionFailure = "Error during color conversion; measurement skipped";

// A plug-in may report a multiple below 1; it then constrains nothing.
int32_t Multiple(int32_t value) { return value < 1 ? 1 : value; }

// The decoding side of one input: its reader and the frames it is read and prepared into.
struct Input {
  explicit Input(std::unique_ptr<SequenceReader> opened) : reader(std::move(opened)) {}
  std::unique_ptr<SequenceReader> reader;
  VideoFrame decoded;
  VideoFrame scratch;
};

enum class FileOutcome { kNext, kStopRun, kAbortRun };
enum class SetUp { kReady, kSkipped, kAbortRun };

// One metric at work on the current file.
struct Measured {
  const MetricChoice* choice;
  std::unique_ptr<Metric> metric;
  ResultDescriptors descriptors;
  FrameResult result;
  std::chrono::steady_clock::duration took{};  // measuring the last frame
};

class Driver {
 public:
  Driver(MeasurementRequest& request, ResultStore& store, RunStatus& status, const DriverServices& services,
         std::vector<MetricChoice> metrics)
      : request_(request), store_(store), status_(status), services_(services), metrics_(std::move(metrics)) {}

  bool SingleFileMode();
  bool ReferenceMode();
  // Whether a checkpoint reported a stop.
  bool stopped() const { return stopped_; }

 private:
  void Line(std::string_view text) {
    if (request_.log != nullptr) request_.log->Write(std::string(text));
  }
  void Plain(std::string_view prefix, std::string_view text) { Line(std::string(prefix).append(text)); }
  void Quoted(std::string_view prefix, std::string_view text) {
    Line(std::string(prefix).append("\"").append(text).append("\""));
  }
  void Fail() { status_.measurement = 1; }
  // Logs a failure that ends the current file's frame loop.
  void FailLoop(std::string_view line) {
    Line(line);
    Fail();
  }
  // Asks the gate; a stop, once seen, is remembered for the passes after this one.
  bool Stopped() {
    const bool stopped = request_.gate != nullptr && !request_.gate->Checkpoint();
    stopped_ = stopped_ || stopped;
    return stopped;
  }
  bool Interrupted() {
    if (!Stopped()) return false;
    Line("Measurement interrupted");
    return true;
  }
  bool Visualizing() const { return request_.visualization.enabled; }
  std::string Title(const MetricChoice& choice) const { return services_.metrics->Title(choice.metric_index); }

  std::unique_ptr<SequenceReader> OpenEntry(const InputFileEntry& entry);
  std::unique_ptr<Metric> LoadMetric(const MetricChoice& choice, int32_t width, int32_t height);
  bool Configure(const MetricChoice& choice, Metric& metric);
  bool FitsMultiples(Metric& metric, int32_t width, int32_t height, std::string_view consequence);
  SetUp SetUpSingleFile(Measured& measured, int32_t width, int32_t height);
  SetUp SetUpReference(Measured& measured, int32_t width, int32_t height);
  // None when the run is to be aborted.
  template <typename SetUpOne>
  std::optional<std::vector<Measured>> SetUpAll(SetUpOne set_up_one);
  void BeginProgress(const std::vector<Measured>& metrics, std::vector<std::string> paths, int32_t frame_count);
  std::unique_ptr<VisualizationOutput> OpenVisualization(int32_t width, int32_t height,
                                                         const ResultDescriptors& descriptors, bool name_path,
                                                         VideoFrame& image);
  bool AllBuiltIn(const std::vector<Measured>& metrics) const;
  FramePipeline PipelineFor(const std::vector<Measured>& metrics, std::span<Input* const> inputs, int32_t width,
                            int32_t height, FramePipeline::ReadFrame read) const;
  void MeasureFrame(std::vector<Measured>& metrics, const PlaneSets& sets, VisualizationOutput* visualization,
                    VideoFrame& image, int32_t n);
  // Whether a frame's load failed; a failure is logged, and an exception of the load rethrown.
  bool LoadFailed(const FrameLoad& load);
  // True when a stop ended the frames early.
  bool MeasureFrames(std::vector<Measured>& metrics, FramePipeline& frames, int32_t frame_count,
                     VisualizationOutput* visualization, VideoFrame& image);
  void StoreAverages(std::vector<Measured>& metrics);
  void CloseVisualization(std::unique_ptr<VisualizationOutput>& visualization);

  void MeasureSingleFile(const InputFileEntry& entry, Input& input);
  FileOutcome MeasureProcessedFile(Input& original, const InputFileEntry& processed_entry, Input& processed);

  MeasurementRequest& request_;
  ResultStore& store_;
  RunStatus& status_;
  const DriverServices& services_;
  const std::vector<MetricChoice> metrics_;
  bool stopped_ = false;
  std::vector<size_t> order_;  // of the metrics at work on a frame
};

std::unique_ptr<SequenceReader> Driver::OpenEntry(const InputFileEntry& entry) {
  Quoted("Opening ", entry.path);
  std::unique_ptr<SequenceReader> reader = services_.opener->Open(entry);
  if (reader) {
    Plain("Opened ", reader->Describe(kTextCapacity));
  } else if (const std::string failure = services_.opener->LastFailure(); !failure.empty()) {
    // Before the driver's own line, so that a user sees the reader's reason (a script's error, a missing
    // decoder) next to the file it concerns.
    Line(failure);
  }
  return reader;
}

std::unique_ptr<Metric> Driver::LoadMetric(const MetricChoice& choice, int32_t width, int32_t height) {
  std::unique_ptr<Metric> metric =
      services_.metrics->CreateMetric(choice.metric_index, {choice.component, width, height, services_.pool});
  Plain(metric ? "Loaded " : "Failed to load ", Title(choice));
  return metric;
}

bool Driver::Configure(const MetricChoice& choice, Metric& metric) {
  if (!metric.IsConfigurable()) return true;
  if (!metric.SetConfiguration(choice.configuration)) {
    Plain("Failed to configurate ", Title(choice));
    Plain("Settings string: ", choice.configuration);
    return false;
  }
  Plain("Configured metric with string ", choice.configuration);
  return true;
}

bool Driver::FitsMultiples(Metric& metric, int32_t width, int32_t height, std::string_view consequence) {
  const int32_t width_multiple = Multiple(metric.GetWidthMultiple());
  if (width % width_multiple != 0) {
    Line("File width is not suitable for metric, it must be multiple of " + std::to_string(width_multiple) + ", " +
         std::string(consequence));
    return false;
  }
  const int32_t height_multiple = Multiple(metric.GetHeightMultiple());
  if (height % height_multiple != 0) {
    Line("File height is not suitable for metric, it must be multiple of " + std::to_string(height_multiple) + ", " +
         std::string(consequence));
    return false;
  }
  return true;
}

SetUp Driver::SetUpSingleFile(Measured& measured, int32_t width, int32_t height) {
  measured.metric = LoadMetric(*measured.choice, width, height);
  if (!measured.metric || !Configure(*measured.choice, *measured.metric) ||
      !FitsMultiples(*measured.metric, width, height, "measurement skipped")) {
    return SetUp::kSkipped;
  }
  measured.descriptors = measured.metric->DescribeResults(Visualizing());
  if (measured.descriptors.empty()) {
    Line("Metric returned invalid information; measurement skipped");
    return SetUp::kSkipped;
  }
  return SetUp::kReady;
}

SetUp Driver::SetUpReference(Measured& measured, int32_t width, int32_t height) {
  measured.metric = LoadMetric(*measured.choice, width, height);
  if (!measured.metric || !Configure(*measured.choice, *measured.metric)) return SetUp::kSkipped;
  measured.descriptors = measured.metric->DescribeResults(Visualizing());
  if (measured.descriptors.empty()) {
    Line("Metric returned invalid information; measurements skipped");
    return SetUp::kSkipped;
  }
  if (!FitsMultiples(*measured.metric, width, height, "measurement aborted")) {
    status_ = {0, 0};
    return SetUp::kAbortRun;
  }
  return SetUp::kReady;
}

// The metrics that could be set up, in request order; a metric that could not is a failure of its own and
// leaves the others measuring.
template <typename SetUpOne>
std::optional<std::vector<Measured>> Driver::SetUpAll(SetUpOne set_up_one) {
  std::vector<Measured> ready;
  for (const MetricChoice& choice : metrics_) {
    Measured measured{&choice, nullptr, {}, {}};
    const SetUp outcome = set_up_one(measured);
    if (outcome == SetUp::kAbortRun) return std::nullopt;
    if (outcome == SetUp::kSkipped) {
      Fail();
      continue;
    }
    ready.push_back(std::move(measured));
  }
  return ready;
}

void Driver::BeginProgress(const std::vector<Measured>& metrics, std::vector<std::string> paths, int32_t frame_count) {
  if (request_.progress == nullptr) return;
  for (const Measured& measured : metrics) {
    request_.progress->Begin(measured.choice->metric_index, paths, measured.choice->component);
  }
  request_.progress->SetMinimum(0);
  request_.progress->SetMaximum(frame_count);
}

std::unique_ptr<VisualizationOutput> Driver::OpenVisualization(int32_t width, int32_t height,
                                                               const ResultDescriptors& descriptors,
                                                               bool name_path, VideoFrame& image) {
  if (!Visualizing()) return nullptr;
  request_.visualization.width = width;
  request_.visualization.height = height;
  std::vector<int32_t> ids;
  for (const ResultDescriptor& descriptor : descriptors) ids.push_back(descriptor.id);
  std::unique_ptr<VisualizationOutput> output;
  if (services_.visualization != nullptr) output = services_.visualization->Create(request_.visualization, ids, store_);
  const bool opened = output && output->Open() && image.SetFormat(width, height, kRgb24, 0);
  if (!opened) {
    if (name_path) {
      Quoted("Failed to open visualization file ", output ? output->Path() : std::string());
    } else {
      Line("Failed to create visualization file; visualization skipped");
    }
    status_.visualization = 1;
    return nullptr;
  }
  Quoted("Saving visualization to ", output->Path());
  return output;
}

bool Driver::AllBuiltIn(const std::vector<Measured>& metrics) const {
  return std::all_of(metrics.begin(), metrics.end(),
                     [&](const Measured& m) { return services_.metrics->IsBuiltIn(m.choice->metric_index); });
}

// A plug-in may keep the planes it was handed from one frame to the next, so with one among the metrics every
// frame is prepared into the same planes, after the last one was measured. A single metric does the same: the
// second set of planes gained it about 5% at 1080p for a quarter more memory, while several metrics of one pass
// keep both threads busy only with it.
FramePipeline Driver::PipelineFor(const std::vector<Measured>& metrics, std::span<Input* const> inputs,
                                  int32_t width, int32_t height, FramePipeline::ReadFrame read) const {
  std::vector<const MetricChoice*> choices;
  for (const Measured& measured : metrics) choices.push_back(measured.choice);
  std::vector<int32_t> colour_spaces;
  std::vector<InputFrames> frames;
  for (Input* input : inputs) {
    colour_spaces.push_back(input->reader->ColourSpace());
    frames.push_back({&input->decoded, &input->scratch});
  }
  const auto make_sets = [&] {
    return PlaneSets(choices, *services_.metrics, *services_.preparer, colour_spaces, width, height);
  };
  return FramePipeline(make_sets, *services_.preparer, std::move(frames), request_.colour_matrix, services_.pool,
                       AllBuiltIn(metrics) && metrics.size() > 1, std::move(read));
}

// The first metric draws the visualization picture. Built-ins measure side by side on the pool, those that took
// longest on the last frame first, so that the short ones fill the threads' last gaps instead of a long one
// keeping a thread busy after the others are done. The values are stored in request order whichever finishes
// first.
void Driver::MeasureFrame(std::vector<Measured>& metrics, const PlaneSets& sets, VisualizationOutput* visualization,
                          VideoFrame& image, int32_t n) {
  order_.resize(metrics.size());
  std::iota(order_.begin(), order_.end(), size_t{0});
  std::stable_sort(order_.begin(), order_.end(), [&](size_t a, size_t b) { return metrics[a].took > metrics[b].took; });
  auto measure = [&](int part) {
    const size_t i = order_[static_cast<size_t>(part)];
    Measured& measured = metrics[i];
    const FrameList frames = sets.FramesOf(i);
    const auto start = std::chrono::steady_clock::now();
    measured.result = i == 0 && visualization != nullptr ? measured.metric->MeasureAndVisualize(frames, image)
                                                         : measured.metric->Measure(frames);
    measured.took = std::chrono::steady_clock::now() - start;
  };
  const bool side_by_side = metrics.size() > 1 && AllBuiltIn(metrics);
  RunParts(side_by_side ? services_.pool : nullptr, static_cast<int>(metrics.size()), measure);
  if (visualization != nullptr) visualization->WriteFrame(image, n, metrics.front().result, store_);
  if (request_.progress != nullptr) request_.progress->SetPosition(n);
  for (const Measured& measured : metrics) {
    for (const ResultValue& value : measured.result) store_.AddValue(value.id, n, value.value);
  }
}

bool Driver::LoadFailed(const FrameLoad& load) {
  if (load.failure) std::rethrow_exception(load.failure);
  if (!load.read) FailLoop(kReadFailure);
  if (load.read && !load.prepared) FailLoop(kConversionFailure);
  return !load.read || !load.prepared;
}

// Frame n + 1 is read and prepared while frame n is measured. A stop, or a failure to load the next frame, still
// keeps every value of the frame measured, and is told only after it, as when each frame is loaded in turn.
bool Driver::MeasureFrames(std::vector<Measured>& metrics, FramePipeline& frames, int32_t frame_count,
                           VisualizationOutput* visualization, VideoFrame& image) {
  if (frame_count <= 0) return false;
  FrameLoad load = frames.Load(0);
  for (int32_t n = 0;; ++n) {
    if (LoadFailed(load)) return false;
    const std::optional<int32_t> next = n + 1 < frame_count ? std::optional<int32_t>(n + 1) : std::nullopt;
    load = frames.MeasureWhileLoading(
        [&](const PlaneSets& sets) { MeasureFrame(metrics, sets, visualization, image, n); }, next);
    if (Interrupted()) return true;
    if (!next) return false;
  }
}

void Driver::StoreAverages(std::vector<Measured>& metrics) {
  for (Measured& measured : metrics) {
    for (const ResultValue& value : measured.metric->GetAverageResult(Visualizing())) {
      store_.SetAverage(value.id, value.value);
    }
  }
}

// A file that could not be written in full is a failed visualization, not a saved one.
void Driver::CloseVisualization(std::unique_ptr<VisualizationOutput>& visualization) {
  if (!visualization) return;
  if (!visualization->Close()) {
    Quoted("Failed to write visualization file ", visualization->Path());
    status_.visualization = 1;
  } else if (services_.files_written != nullptr) {
    services_.files_written->push_back(visualization->Path());
  }
  visualization.reset();
}

bool Driver::SingleFileMode() {
  status_ = {2, 2};
  if (request_.files.empty()) {
    Line("No files for measurement!");
    status_ = {0, 0};
    return false;
  }
  for (const InputFileEntry& entry : request_.files) {
    Input input(OpenEntry(entry));
    if (!input.reader) {
      Quoted("Failed to open file ", entry.path);
      Fail();
      continue;
    }
    MeasureSingleFile(entry, input);
  }
  if (request_.progress != nullptr) request_.progress->Finish();
  Line("Done!");
  return true;
}

void Driver::MeasureSingleFile(const InputFileEntry& entry, Input& input) {
  SequenceReader& reader = *input.reader;
  const int32_t width = reader.Width();
  const int32_t height = reader.Height();
  std::vector<Measured> metrics =
      *SetUpAll([&](Measured& measured) { return SetUpSingleFile(measured, width, height); });
  if (metrics.empty()) return;
  Input* const inputs[] = {&input};
  FramePipeline frames = PipelineFor(metrics, inputs, width, height,
                                     [&](size_t, int32_t) { return reader.ReadNextFrame(input.decoded); });
  for (const Measured& measured : metrics) {
    for (const ResultDescriptor& descriptor : measured.descriptors) {
      store_.AddSeries(descriptor.id, {measured.choice->metric_index, measured.choice->component, {entry},
                                       measured.choice->configuration, descriptor.name});
    }
  }
  BeginProgress(metrics, {entry.path}, reader.FrameCount());
  VideoFrame image;
  std::unique_ptr<VisualizationOutput> visualization =
      OpenVisualization(width, height, metrics.front().descriptors, true, image);
  MeasureFrames(metrics, frames, reader.FrameCount(), visualization.get(), image);  // a stop keeps the status
  Line("Saving average results");
  StoreAverages(metrics);
  CloseVisualization(visualization);
}

bool Driver::ReferenceMode() {
  status_ = {2, 2};
  if (request_.files.size() < 2) {
    Line("Too few files for measurement! Measurement aborted");
    status_ = {0, 0};
    return false;
  }
  Input original(OpenEntry(request_.files[0]));
  if (!original.reader) {
    Line("Failed to open original sequence! Measurement aborted");
    status_ = {0, 0};
    return false;
  }
  for (size_t i = 1; i < request_.files.size(); ++i) {
    const InputFileEntry& entry = request_.files[i];
    Input processed(OpenEntry(entry));
    if (!processed.reader) {
      Quoted("Failed to open ", entry.path);
      Fail();
      continue;
    }
    const FileOutcome outcome = MeasureProcessedFile(original, entry, processed);
    if (outcome == FileOutcome::kAbortRun) return false;
    if (outcome == FileOutcome::kStopRun) break;
  }
  if (request_.progress != nullptr) request_.progress->Finish();
  Line("Done!");
  return true;
}

FileOutcome Driver::MeasureProcessedFile(Input& original, const InputFileEntry& processed_entry, Input& processed) {
  const int32_t width = original.reader->Width();
  const int32_t height = original.reader->Height();
  if (processed.reader->Width() != width || processed.reader->Height() != height) {
    Line(processed.reader->Width() != width
             ? "File has width that differ from the original one, measurement skipped"
             : "File has height that differ from the original one, measurement skipped");
    Fail();
    return FileOutcome::kNext;
  }
  std::optional<std::vector<Measured>> set_up =
      SetUpAll([&](Measured& measured) { return SetUpReference(measured, width, height); });
  if (!set_up) return FileOutcome::kAbortRun;
  std::vector<Measured>& metrics = *set_up;
  if (metrics.empty()) return FileOutcome::kNext;
  const InputFileEntry* const roles[] = {&request_.files[0], &processed_entry};
  for (const Measured& measured : metrics) {
    for (const ResultDescriptor& descriptor : measured.descriptors) {
      SeriesInfo info{measured.choice->metric_index, measured.choice->component, {}, measured.choice->configuration,
                      descriptor.name};
      for (const int32_t role : descriptor.inputs) {
        if (role != 0 && role != 1) {
          Line("Metric returned invalid information; measurements aborted");
          Fail();
          return FileOutcome::kAbortRun;
        }
        info.files.push_back(*roles[role]);
      }
      store_.AddSeries(descriptor.id, std::move(info));
    }
  }
  Input* const inputs[] = {&original, &processed};
  FramePipeline frames = PipelineFor(metrics, inputs, width, height, [&](size_t i, int32_t n) {
    return inputs[i]->reader->ReadFrame(inputs[i]->decoded, n);
  });
  const int32_t frame_count = std::min(original.reader->FrameCount(), processed.reader->FrameCount());
  BeginProgress(metrics, {request_.files[0].path, processed_entry.path}, frame_count);
  VideoFrame image;
  std::unique_ptr<VisualizationOutput> visualization =
      OpenVisualization(width, height, metrics.front().descriptors, false, image);
  if (MeasureFrames(metrics, frames, frame_count, visualization.get(), image)) Fail();
  Line("Saving average result");
  StoreAverages(metrics);
  CloseVisualization(visualization);
  if (Stopped()) {
    Fail();
    return FileOutcome::kStopRun;
  }
  return FileOutcome::kNext;
}

// Runs `run`; an exception it lets out ends the run as a failure: what was stored stays, and the status says
// that something failed unless nothing had been measured yet.
template <typename Run>
bool Guarded(MeasurementRequest& request, RunStatus& status, Run&& run) {
  try {
    return run();
  } catch (...) {
    LogUnexpectedFailure(request.log, kUnexpectedFailurePrefix);
    status.measurement = std::min(status.measurement, 1);
    return false;
  }
}

// The status of a run made of two passes: nothing measured only when neither measured anything, all well only
// when both went well.
int32_t CombinedStatus(int32_t first, int32_t second) {
  if (first == 0 && second == 0) return 0;
  return first == 2 && second == 2 ? 2 : 1;
}

// The reference pass over the two-input metrics, then the single-file pass over the one-input ones.
bool RunPasses(MeasurementRequest& request, ResultStore& store, RunStatus& status, const DriverServices& services,
               const std::vector<MetricChoice>& metrics) {
  std::vector<MetricChoice> compared, alone;
  for (const MetricChoice& choice : metrics) {
    switch (services.metrics->InputCount(choice.metric_index, request.visualization.enabled)) {
      case 1: alone.push_back(choice); break;
      case 2: compared.push_back(choice); break;
      default: return false;
    }
  }
  if (compared.empty()) return Driver(request, store, status, services, alone).SingleFileMode();
  Driver reference(request, store, status, services, compared);
  bool success = reference.ReferenceMode();
  if (alone.empty() || reference.stopped()) return success;
  const RunStatus first = status;
  success = Driver(request, store, status, services, alone).SingleFileMode() && success;
  status = {CombinedStatus(first.measurement, status.measurement),
            CombinedStatus(first.visualization, status.visualization)};
  return success;
}

}  // namespace

std::vector<MetricChoice> RequestedMetrics(const MeasurementRequest& request) {
  std::vector<MetricChoice> metrics{{request.metric_index, request.component, request.configuration}};
  metrics.insert(metrics.end(), request.further_metrics.begin(), request.further_metrics.end());
  return metrics;
}

bool RunMeasurement(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                    const DriverServices& services) {
  return Guarded(request, status, [&] {
    if (!request.further_metrics.empty()) return RunPasses(request, store, status, services, RequestedMetrics(request));
    switch (services.metrics->InputCount(request.metric_index, request.visualization.enabled)) {
      case 1: return RunSingleFileMode(request, store, status, services);
      case 2: return RunReferenceMode(request, store, status, services);
      default: return false;
    }
  });
}

bool RunSingleFileMode(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                       const DriverServices& services) {
  return Guarded(request, status, [&] {
    return Driver(request, store, status, services, RequestedMetrics(request)).SingleFileMode();
  });
}

bool RunReferenceMode(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                      const DriverServices& services) {
  return Guarded(request, status, [&] {
    return Driver(request, store, status, services, RequestedMetrics(request)).ReferenceMode();
  });
}

}  // namespace vidmetra
