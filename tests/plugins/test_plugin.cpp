// A plug-in that overreaches every limit of the host: more results and roles than its arrays hold, texts
// without a terminator, and a configuration that needs 3000 characters. Built in three variants.
#include <vidmetra/plugin.h>

#include <string>

namespace {

int g_configuration_calls = 0;

void Fill(char16_t* buffer, int32_t length, char16_t c) {
  for (int32_t i = 0; i < length; ++i) buffer[i] = c;  // deliberately no terminator
}

class Greedy final : public vmp::MetricObject {
 public:
  void Init(int32_t, int32_t, int32_t, int32_t* counter) override { first_id_ = *counter; *counter += 12; }
  void Measure(vmp::PlaneFrame** frames, int32_t, int32_t* ids, float* values, int32_t* count) override {
    for (int i = 0; i < 10; ++i) {
      ids[i] = first_id_ + i;
      values[i] = frames[0]->Y()[0] + static_cast<float>(i);
    }
    *count = 12;
  }
  void MeasureAndVisualize(vmp::PlaneFrame** frames, int32_t n, int32_t* ids, float* values, int32_t* count,
                           uint8_t*, int32_t) override {
    Measure(frames, n, ids, values, count);
  }
  void DescribeResults(int32_t* count, int32_t* ids, vmp::RoleList** roles, char16_t** names, bool) override {
    for (int i = 0; i < 10; ++i) {
      ids[i] = first_id_ + i;
      roles[i]->count = 11;
      for (int r = 0; r < 9; ++r) roles[i]->roles[r] = r % 2;
      Fill(names[i], vmp::kTextCapacity, u'n');
    }
    *count = 12;
  }
  void GetAverageResult(int32_t* ids, float* values, int32_t* count, bool) override {
    ids[0] = first_id_;
    values[0] = 1.5f;
    *count = -4;
  }
  int32_t GetInputCount(bool) override { return 2; }
  void GetSupportedComponents(int32_t* list, int32_t* count) override {
    for (int i = 0; i < 10; ++i) list[i] = i % 7;
    *count = 1000;
  }
  void GetName(char16_t* buffer) override {
    const std::u16string name = u"greedy";
    name.copy(buffer, name.size());
  }
  void GetUnits(char16_t* buffer) override { buffer[0] = 0; }
  int32_t GetWidthMultiple() override { return 0; }
  int32_t GetHeightMultiple() override { return -1; }
  void GetTitle(char16_t* buffer) override { Fill(buffer, vmp::kTextCapacity, u'T'); }
  void GetHelpAddress(char16_t* buffer) override { buffer[0] = 0; }
  bool IsHigherBetter() override { return true; }
  bool IsConfigurable() override { return true; }
  bool SetConfiguration(const char16_t* text) override { return text[0] == u'o' && text[1] == u'k'; }
  bool GetConfiguration(char16_t* buffer, int32_t capacity) override {
    ++g_configuration_calls;
    if (capacity < 3001) return false;
    const std::u16string prefix = u"call " + std::u16string(1, static_cast<char16_t>(u'0' + g_configuration_calls));
    Fill(buffer, 3000, u'c');
    prefix.copy(buffer, prefix.size());
    return true;
  }

 private:
  int32_t first_id_ = 0;
};

}  // namespace

#if defined(TEST_PLUGIN_GREEDY)
VMP_EXPORT int CreateMetric(vmp::MetricObject** object) {
  g_configuration_calls = 0;
  *object = new Greedy();
  return 1;
}
#elif defined(TEST_PLUGIN_NULL_OBJECT)
VMP_EXPORT int CreateMetric(vmp::MetricObject** object) {
  *object = nullptr;
  return 1;
}
#endif

VMP_EXPORT void ReleaseMetric(vmp::MetricObject* object) { delete static_cast<Greedy*>(object); }
