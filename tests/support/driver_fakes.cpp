#include "support/driver_fakes.h"

#include <stdexcept>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vidmetra::testing {

int FakeReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return 4;
  next_ = frame_number + 1;
  if (frame_number == clip_.fail_at) return 3;
  if (frame_number == clip_.throw_at) throw std::runtime_error("fake read failed");
  std::memset(buffer, clip_.levels[static_cast<size_t>(frame_number)],
              static_cast<size_t>(clip_.width) * static_cast<size_t>(clip_.height));
  return 0;
}

std::string FakeReader::Describe(size_t capacity) const {
  return CutToCapacity("file \"" + name_ + "\" fake " + std::to_string(clip_.width) + "x" +
                           std::to_string(clip_.height),
                       capacity);
}

std::string FakeReader::ErrorText(int code, size_t capacity) const {
  static const StatusMessage kMessages[] = {{0, "No error occured!"}, {3, "Failed to read frame!"}};
  return ReadErrorText(name_, StatusReason(kMessages, code), capacity);
}

std::unique_ptr<SequenceReader> FakeOpener::Open(const InputFileEntry& entry) {
  const auto it = clips.find(entry.path);
  if (it == clips.end()) return nullptr;
  return std::make_unique<FakeReader>(entry.path, it->second);
}

bool FakePreparer::Prepare(const VideoFrame& decoded, VideoFrame&, PlaneFrame& planes, const MetricChoice&, int32_t,
                           ByteKeeping) {
  const PlaneLayout luma = decoded.Plane(0);
  if (luma.origin == nullptr) return false;
  float* y = planes.Y();
  for (int row = 0; row < luma.height; ++row) {
    for (int x = 0; x < luma.width; ++x) *y++ = luma.origin[static_cast<ptrdiff_t>(row) * luma.stride + x];
  }
  return luma.origin[0] != fail_on_level;
}

namespace {

MetricDescriptor FakeDescriptor(const FakeMetricBehaviour& behaviour) {
  return {"fake", "Fake", "", kLumaComponent, behaviour.inputs, behaviour.inputs, false, behaviour.width_multiple,
          behaviour.height_multiple, behaviour.configurable};
}

}  // namespace

FakeMetric::FakeMetric(const MetricParams& params, FakeMetricBehaviour behaviour)
    : MetricBase(params, FakeDescriptor(behaviour)), behaviour_(std::move(behaviour)) {
  ids_.push_back(result_id_);
  for (size_t i = 1; i < behaviour_.roles.size(); ++i) ids_.push_back(TakeResultId());
}

ResultDescriptors FakeMetric::DescribeResults(bool) {
  ResultDescriptors descriptors;
  if (behaviour_.empty_description) return descriptors;
  for (size_t i = 0; i < ids_.size(); ++i) {
    descriptors.push_back({ids_[i], behaviour_.roles[i], i == 0 ? "" : "series " + std::to_string(i)});
  }
  return descriptors;
}

FrameResult FakeMetric::MeasureOne(FrameList frames, VideoFrame* target) {
  if (count_ == behaviour_.throw_at_frame) throw std::runtime_error("fake metric failed");
  const size_t samples = SampleCount();
  double sum = 0.0;
  const float* a = frames[0]->Y();
  const float* b = frames.size() > 1 ? frames[1]->Y() : nullptr;
  for (size_t i = 0; i < samples; ++i) {
    const float value = b != nullptr ? std::fabs(a[i] - b[i]) : a[i];
    difference_map()[i] = value;
    sum += value;
  }
  const auto value = static_cast<float>(sum / static_cast<double>(samples));
  return CompleteFrame(std::vector<float>(ids_.size(), value), target);
}

std::unique_ptr<Metric> FakeMetricSource::CreateMetric(int32_t index, const MetricParams& params) const {
  if (fail_creation || index != 0) return nullptr;
  created.push_back(params);
  return std::make_unique<FakeMetric>(params, behaviour);
}

bool RecordingLog::Contains(const std::string& line) const {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void RecordingProgress::Begin(int32_t, const std::vector<std::string>& paths, int32_t) {
  std::string call = "begin";
  for (const std::string& path : paths) call += " " + path;
  calls.push_back(call);
}

namespace {

class FakeVisualizationOutput : public VisualizationOutput {
 public:
  FakeVisualizationOutput(FakeVisualizationFactory& factory) : factory_(factory) {}
  bool Open() override { return factory_.open_succeeds; }
  std::string Path() const override { return "vis.avi"; }
  void WriteFrame(VideoFrame&, int32_t frame_number, const FrameResult&, const ResultStore&) override {
    factory_.frames_written.push_back(frame_number);
  }
  bool Close() override { return factory_.close_succeeds; }

 private:
  FakeVisualizationFactory& factory_;
};

}  // namespace

std::unique_ptr<VisualizationOutput> FakeVisualizationFactory::Create(const VisualizationSettings&,
                                                                      const std::vector<int32_t>& result_ids,
                                                                      const ResultStore&) {
  ids_given = result_ids;
  return std::make_unique<FakeVisualizationOutput>(*this);
}

DriverHarness::DriverHarness() {
  request.log = &log;
  request.progress = &progress;
}

void DriverHarness::AddFile(const std::string& path, FakeClip clip) {
  opener.clips[path] = std::move(clip);
  request.files.push_back({path, 0, 0, 0});
}

}  // namespace vidmetra::testing
