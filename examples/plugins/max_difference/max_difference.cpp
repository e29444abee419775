// A sample plug-in: the largest absolute difference between original and processed samples of a frame, and
// the share of samples (percent) whose difference exceeds a configurable threshold ("threshold=10").
#include <vidmetra/plugin.h>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cmath>
#include <new>
#include <string>

namespace {

void CopyText(const char* text, char16_t* buffer, int32_t capacity) {
  int32_t i = 0;
  for (; text[i] != 0 && i + 1 < capacity; ++i) buffer[i] = static_cast<char16_t>(text[i]);
  buffer[i] = 0;
}

class MaxDifference final : public vmp::MetricObject {
 public:
  void Init(int32_t component, int32_t width, int32_t height, int32_t* counter) override {
    component_ = component;
    samples_ = static_cast<size_t>(width) * static_cast<size_t>(height);
    width_ = width;
    height_ = height;
    for (int32_t& id : ids_) id = (*counter)++;
  }

  void Measure(vmp::PlaneFrame** frames, int32_t frame_count, int32_t* ids, float* values, int32_t* count) override {
    *count = 0;
    if (frame_count < 2) return;
    const float* a = Plane(frames[0]);
    const float* b = Plane(frames[1]);
    float largest = 0.0f;
    size_t above = 0;
    for (size_t i = 0; i < samples_; ++i) {
      const float d = std::fabs(a[i] - b[i]);
      largest = std::max(largest, d);
      above += d > threshold_ ? 1 : 0;
    }
    const float share = samples_ == 0 ? 0.0f : 100.0f * static_cast<float>(above) / static_cast<float>(samples_);
    sums_[0] += largest;
    sums_[1] += share;
    ++frames_;
    Report(ids, values, count, largest, share);
  }

  void MeasureAndVisualize(vmp::PlaneFrame** frames, int32_t frame_count, int32_t* ids, float* values,
                           int32_t* count, uint8_t* pixels, int32_t stride) override {
    Measure(frames, frame_count, ids, values, count);
    if (*count == 0) return;
    const float* a = Plane(frames[0]);
    const float* b = Plane(frames[1]);
    for (int32_t y = 0; y < height_; ++y) {
      uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
      for (int32_t x = 0; x < width_; ++x) {
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
        const auto level = static_cast<uint8_t>(std::min(255.0f, 4.0f * std::fabs(a[i] - b[i])));
        row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = level;
      }
    }
  }

  void DescribeResults(int32_t* count, int32_t* ids, vmp::RoleList** roles, char16_t** names, bool) override {
    for (int i = 0; i < 2; ++i) {
      ids[i] = ids_[i];
      roles[i]->count = 2;
      roles[i]->roles[0] = 0;
      roles[i]->roles[1] = 1;
    }
    CopyText("", names[0], vmp::kTextCapacity);
    CopyText("Share above threshold", names[1], vmp::kTextCapacity);
    *count = 2;
  }

  void GetAverageResult(int32_t* ids, float* values, int32_t* count, bool) override {
    const double frames = frames_;
    Report(ids, values, count, static_cast<float>(sums_[0] / frames), static_cast<float>(sums_[1] / frames));
  }

  int32_t GetInputCount(bool) override { return 2; }
  void GetSupportedComponents(int32_t* list, int32_t* count) override {
    const int32_t components[] = {0, 1, 2, 4, 5, 6, 3};
    std::copy(std::begin(components), std::end(components), list);
    *count = 7;
  }
  void GetName(char16_t* buffer) override { CopyText("max_difference", buffer, vmp::kTextCapacity); }
  void GetUnits(char16_t* buffer) override { CopyText("", buffer, vmp::kTextCapacity); }
  int32_t GetWidthMultiple() override { return 1; }
  int32_t GetHeightMultiple() override { return 1; }
  void GetTitle(char16_t* buffer) override { CopyText("Max difference", buffer, vmp::kTextCapacity); }
  void GetHelpAddress(char16_t* buffer) override { CopyText("docs/plugins.md", buffer, vmp::kTextCapacity); }
  bool IsHigherBetter() override { return false; }
  bool IsConfigurable() override { return true; }

  bool SetConfiguration(const char16_t* text) override {
    std::string narrow;
    for (; *text != 0; ++text) {
      if (*text > 0x7F) return false;
      narrow += static_cast<char>(*text);
    }
    const std::string key = "threshold=";
    if (narrow.rfind(key, 0) != 0) return false;
    float threshold = 0.0f;
    const char* end = narrow.data() + narrow.size();
    const auto [next, error] = std::from_chars(narrow.data() + key.size(), end, threshold);
    if (error != std::errc() || next != end || !(threshold >= 0.0f)) return false;
    threshold_ = threshold;
    return true;
  }

  bool GetConfiguration(char16_t* buffer, int32_t capacity) override {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text - 1, threshold_);
    if (error != std::errc()) return false;
    *end = 0;
    const std::string configuration = "threshold=" + std::string(text);
    if (static_cast<int32_t>(configuration.size()) + 1 > capacity) return false;
    CopyText(configuration.c_str(), buffer, capacity);
    return true;
  }

 private:
  const float* Plane(vmp::PlaneFrame* frame) const {
    switch (component_) {
      case 1: return frame->U();
      case 2: return frame->V();
      case 3: return frame->L();
      case 4: return frame->R();
      case 5: return frame->G();
      case 6: return frame->B();
      default: return frame->Y();
    }
  }

  void Report(int32_t* ids, float* values, int32_t* count, float largest, float share) const {
    ids[0] = ids_[0];
    ids[1] = ids_[1];
    values[0] = largest;
    values[1] = share;
    *count = 2;
  }

  int32_t component_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  size_t samples_ = 0;
  int32_t ids_[2] = {0, 0};
  float threshold_ = 10.0f;
  double sums_[2] = {0.0, 0.0};
  int32_t frames_ = 0;
};

}  // namespace

VMP_EXPORT int CreateMetric(vmp::MetricObject** object) {
  *object = new (std::nothrow) MaxDifference();
  return *object != nullptr ? 1 : 0;
}

VMP_EXPORT void ReleaseMetric(vmp::MetricObject* object) { delete static_cast<MaxDifference*>(object); }
