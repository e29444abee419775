#include "vidmetra/measurement_driver.h"

#include <algorithm>
#include <string_view>

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

class Driver {
 public:
  Driver(MeasurementRequest& request, ResultStore& store, RunStatus& status, const DriverServices& services)
      : request_(request), store_(store), status_(status), services_(services) {}

  bool SingleFileMode();
  bool ReferenceMode();

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
  bool Interrupted() {
    if (request_.gate == nullptr || request_.gate->Checkpoint()) return false;
    Line("Measurement interrupted");
    return true;
  }
  bool Visualizing() const { return request_.visualization.enabled; }
  std::string Title() const { return services_.metrics->Title(request_.metric_index); }

  std::unique_ptr<SequenceReader> OpenEntry(const InputFileEntry& entry);
  std::unique_ptr<Metric> LoadMetric(int32_t width, int32_t height);
  bool Configure(Metric& metric);
  bool FitsMultiples(Metric& metric, int32_t width, int32_t height, std::string_view consequence);
  void BeginProgress(std::vector<std::string> paths, int32_t frame_count);
  std::unique_ptr<VisualizationOutput> OpenVisualization(int32_t width, int32_t height,
                                                         const ResultDescriptors& descriptors, bool name_path,
                                                         VideoFrame& image);
  void MeasureFrame(Metric& metric, FrameList frames, VisualizationOutput* visualization, VideoFrame& image,
                    int32_t n);
  void StoreAverages(Metric& metric);

  void MeasureSingleFile(const InputFileEntry& entry, Input& input);
  FileOutcome MeasureProcessedFile(Input& original, const InputFileEntry& processed_entry, Input& processed);

  MeasurementRequest& request_;
  ResultStore& store_;
  RunStatus& status_;
  const DriverServices& services_;
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

std::unique_ptr<Metric> Driver::LoadMetric(int32_t width, int32_t height) {
  std::unique_ptr<Metric> metric =
      services_.metrics->CreateMetric(request_.metric_index, {request_.component, width, height, services_.pool});
  Plain(metric ? "Loaded " : "Failed to load ", Title());
  return metric;
}

bool Driver::Configure(Metric& metric) {
  if (!metric.IsConfigurable()) return true;
  if (!metric.SetConfiguration(request_.configuration)) {
    Plain("Failed to configurate ", Title());
    Plain("Settings string: ", request_.configuration);
    return false;
  }
  Plain("Configured metric with string ", request_.configuration);
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

void Driver::BeginProgress(std::vector<std::string> paths, int32_t frame_count) {
  if (request_.progress == nullptr) return;
  request_.progress->Begin(request_.metric_index, paths, request_.component);
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

void Driver::MeasureFrame(Metric& metric, FrameList frames, VisualizationOutput* visualization, VideoFrame& image,
                          int32_t n) {
  FrameResult result;
  if (visualization != nullptr) {
    result = metric.MeasureAndVisualize(frames, image);
    visualization->WriteFrame(image, n, result, store_);
  } else {
    result = metric.Measure(frames);
  }
  if (request_.progress != nullptr) request_.progress->SetPosition(n);
  for (const ResultValue& value : result) store_.AddValue(value.id, n, value.value);
}

void Driver::StoreAverages(Metric& metric) {
  for (const ResultValue& value : metric.GetAverageResult(Visualizing())) store_.SetAverage(value.id, value.value);
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
  PlaneFrame planes(width, height);
  std::unique_ptr<Metric> metric = LoadMetric(width, height);
  if (!metric || !Configure(*metric) || !FitsMultiples(*metric, width, height, "measurement skipped")) {
    Fail();
    return;
  }
  const ResultDescriptors descriptors = metric->DescribeResults(Visualizing());
  if (descriptors.empty()) {
    Line("Metric returned invalid information; measurement skipped");
    Fail();
    return;
  }
  for (const ResultDescriptor& descriptor : descriptors) {
    store_.AddSeries(descriptor.id, {request_.metric_index, request_.component, {entry}, request_.configuration,
                                     descriptor.name});
  }
  BeginProgress({entry.path}, reader.FrameCount());
  VideoFrame image;
  std::unique_ptr<VisualizationOutput> visualization = OpenVisualization(width, height, descriptors, true, image);
  PlaneFrame* frames[] = {&planes};
  for (int32_t n = 0; n < reader.FrameCount(); ++n) {
    if (reader.ReadNextFrame(input.decoded) != 0) {
      FailLoop(kReadFailure);
      break;
    }
    if (!planes.valid() || !services_.preparer->Prepare(input.decoded, input.scratch, planes, request_)) {
      FailLoop(kConversionFailure);
      break;
    }
    MeasureFrame(*metric, frames, visualization.get(), image, n);
    if (Interrupted()) break;  // a stopped single-file run keeps its status
  }
  Line("Saving average results");
  StoreAverages(*metric);
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
  PlaneFrame original_planes(width, height);
  PlaneFrame processed_planes(width, height);
  std::unique_ptr<Metric> metric = LoadMetric(width, height);
  if (!metric || !Configure(*metric)) {
    Fail();
    return FileOutcome::kNext;
  }
  const ResultDescriptors descriptors = metric->DescribeResults(Visualizing());
  if (descriptors.empty()) {
    Line("Metric returned invalid information; measurements skipped");
    Fail();
    return FileOutcome::kNext;
  }
  if (!FitsMultiples(*metric, width, height, "measurement aborted")) {
    status_ = {0, 0};
    return FileOutcome::kAbortRun;
  }
  const InputFileEntry* const roles[] = {&request_.files[0], &processed_entry};
  for (const ResultDescriptor& descriptor : descriptors) {
    SeriesInfo info{request_.metric_index, request_.component, {}, request_.configuration, descriptor.name};
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
  const int32_t frame_count = std::min(original.reader->FrameCount(), processed.reader->FrameCount());
  BeginProgress({request_.files[0].path, processed_entry.path}, frame_count);
  VideoFrame image;
  std::unique_ptr<VisualizationOutput> visualization = OpenVisualization(width, height, descriptors, false, image);
  PlaneFrame* frames[] = {&original_planes, &processed_planes};
  for (int32_t n = 0; n < frame_count; ++n) {
    if (original.reader->ReadFrame(original.decoded, n) != 0 || processed.reader->ReadFrame(processed.decoded, n) != 0) {
      FailLoop(kReadFailure);
      break;
    }
    // The two frames are prepared side by side; each has its own scratch frame and planes.
    Input* inputs[] = {&original, &processed};
    bool prepared[] = {false, false};
    RunParts(services_.pool, 2, [&](int i) {
      prepared[i] = frames[i]->valid() && services_.preparer->Prepare(inputs[i]->decoded, inputs[i]->scratch,
                                                                      *frames[i], request_);
    });
    if (!prepared[0] || !prepared[1]) {
      FailLoop(kConversionFailure);
      break;
    }
    MeasureFrame(*metric, frames, visualization.get(), image, n);
    if (Interrupted()) {
      Fail();
      break;
    }
  }
  Line("Saving average result");
  StoreAverages(*metric);
  if (request_.gate != nullptr && !request_.gate->Checkpoint()) {
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

}  // namespace

bool RunMeasurement(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                    const DriverServices& services) {
  return Guarded(request, status, [&] {
    switch (services.metrics->InputCount(request.metric_index, request.visualization.enabled)) {
      case 1: return RunSingleFileMode(request, store, status, services);
      case 2: return RunReferenceMode(request, store, status, services);
      default: return false;
    }
  });
}

bool RunSingleFileMode(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                       const DriverServices& services) {
  return Guarded(request, status, [&] { return Driver(request, store, status, services).SingleFileMode(); });
}

bool RunReferenceMode(MeasurementRequest& request, ResultStore& store, RunStatus& status,
                      const DriverServices& services) {
  return Guarded(request, status, [&] { return Driver(request, store, status, services).ReferenceMode(); });
}

}  // namespace vidmetra
