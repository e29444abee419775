#pragma once
// Test doubles for the measurement driver's collaborators: in-memory readers of Y frames, a scriptable metric,
// and sinks that record what they were told.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vidmetra/measurement_driver.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/metric_base.h"

namespace vidmetra::testing {

// Frames of one grey level each: frame n has the value levels[n] everywhere.
struct FakeClip {
  int width = 16;
  int height = 16;
  std::vector<uint8_t> levels;
  int fail_at = -1;   // a read of this frame fails with status 3
  int throw_at = -1;  // a read of this frame throws std::runtime_error("fake read failed")
};

class FakeReader : public SequenceReader {
 public:
  FakeReader(std::string name, FakeClip clip) : name_(std::move(name)), clip_(std::move(clip)) {}
  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override { return ReadFrameRaw(buffer, next_); }
  int Close() override { return 0; }
  std::string Describe(size_t capacity) const override;
  std::string ErrorText(int code, size_t capacity) const override;
  bool IsBadFrameNumber(int n) const override { return n < 0 || n >= FrameCount(); }
  bool IsAtEnd() const override { return next_ >= FrameCount(); }
  int Width() const override { return clip_.width; }
  int Height() const override { return clip_.height; }
  int ColourSpace() const override { return kY; }
  int FrameCount() const override { return static_cast<int>(clip_.levels.size()); }

 protected:
  int MemoryStatus() const override { return 9; }

 private:
  std::string name_;
  FakeClip clip_;
  int next_ = 0;
};

class FakeOpener : public ReaderOpener {
 public:
  std::map<std::string, FakeClip> clips;  // paths not listed fail to open
  std::string failure;                    // what such a path's reader says
  std::unique_ptr<SequenceReader> Open(const InputFileEntry& entry) override;
  std::string LastFailure() const override { return failure; }
};

// Copies the luma bytes of a Y frame into the Y plane; fails for listed frame levels.
class FakePreparer : public FramePreparer {
 public:
  int fail_on_level = -1;
  bool Prepare(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes, const MetricChoice& metric,
               int32_t colour_matrix, ByteKeeping keeping) override;
};

struct FakeMetricBehaviour {
  int32_t inputs = 2;
  int32_t width_multiple = 2;
  int32_t height_multiple = 2;
  bool configurable = false;
  std::string accepted_configuration;
  bool empty_description = false;
  std::vector<std::vector<int32_t>> roles = {{0, 1}};  // one series per entry
  int throw_at_frame = -1;  // measuring this frame throws std::runtime_error("fake metric failed")
};

// Reports the mean Y of its last input (single mode) or the mean absolute Y difference (reference mode) for every
// series, so values are easy to predict.
class FakeMetric : public MetricBase {
 public:
  FakeMetric(const MetricParams& params, FakeMetricBehaviour behaviour);
  FrameResult Measure(FrameList frames) override { return MeasureOne(frames, nullptr); }
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override { return MeasureOne(frames, &target); }
  ResultDescriptors DescribeResults(bool) override;
  bool SetConfiguration(const std::string& text) override { return text == behaviour_.accepted_configuration; }
  void RenderVisualization(VideoFrame& target) override { RenderGreyMap(difference_map(), target); }
  std::vector<int32_t> GetResultIds() override { return ids_; }

 private:
  FrameResult MeasureOne(FrameList frames, VideoFrame* target);
  FakeMetricBehaviour behaviour_;
  std::vector<int32_t> ids_;
};

class FakeMetricSource : public MetricSource {
 public:
  FakeMetricBehaviour behaviour;
  bool fail_creation = false;
  mutable std::vector<MetricParams> created;
  int32_t InputCount(int32_t index, bool) const override { return index == 0 ? behaviour.inputs : 0; }
  std::string Title(int32_t) const override { return "Fake"; }
  std::unique_ptr<Metric> CreateMetric(int32_t index, const MetricParams& params) const override;
  bool IsBuiltIn(int32_t) const override { return true; }
};

class RecordingLog : public RunLog {
 public:
  std::vector<std::string> lines;
  void Write(const std::string& text) override { lines.push_back(text); }
  bool Contains(const std::string& line) const;
};

// Lets `allowed` checkpoints pass, then reports a stop.
class CountingGate : public RunGate {
 public:
  explicit CountingGate(int allowed) : allowed_(allowed) {}
  bool Checkpoint() override { return allowed_-- > 0; }

 private:
  int allowed_;
};

class RecordingProgress : public ProgressSink {
 public:
  std::vector<std::string> calls;
  void Begin(int32_t, const std::vector<std::string>& paths, int32_t) override;
  void SetMinimum(int32_t value) override { calls.push_back("min " + std::to_string(value)); }
  void SetMaximum(int32_t value) override { calls.push_back("max " + std::to_string(value)); }
  void SetPosition(int32_t value) override { calls.push_back("pos " + std::to_string(value)); }
  void Finish() override { calls.push_back("finish"); }
};

class FakeVisualizationFactory : public VisualizationFactory {
 public:
  bool open_succeeds = true;
  bool close_succeeds = true;
  std::vector<int32_t> frames_written;
  std::vector<int32_t> ids_given;
  std::unique_ptr<VisualizationOutput> Create(const VisualizationSettings& settings,
                                              const std::vector<int32_t>& result_ids,
                                              const ResultStore& store) override;
};

// Owns one of every fake and the services pointing at them.
struct DriverHarness {
  FakeOpener opener;
  FakePreparer preparer;
  FakeMetricSource metrics;
  FakeVisualizationFactory visualization;
  RecordingLog log;
  RecordingProgress progress;
  MeasurementRequest request;
  ResultStore store;
  RunStatus status{-1, -1};
  TaskPool* pool = nullptr;
  DriverHarness();
  DriverServices services() { return {&metrics, &preparer, &opener, &visualization, pool}; }
  bool Run() { return RunMeasurement(request, store, status, services()); }
  void AddFile(const std::string& path, FakeClip clip);
};

}  // namespace vidmetra::testing
