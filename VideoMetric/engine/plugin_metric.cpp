#include "vidmetra/plugin_metric.h"

#include <algorithm>
#include <vector>

#include "vidmetra/utf_text.h"

namespace vidmetra {
namespace {

int32_t Capped(int32_t count, int32_t limit) { return std::clamp(count, 0, limit); }

// Reads a plug-in text buffer up to its terminator, never past the buffer: the last character is forced to
// the terminator first, so overlong texts are cut at one less than the capacity.
std::string BufferText(char16_t* buffer, size_t capacity) {
  buffer[capacity - 1] = 0;
  return Utf16ToUtf8(std::u16string_view(buffer));
}

// Plug-ins take an array of their view of the frames, which the host's frames derive from.
struct PluginFrameList {
  explicit PluginFrameList(FrameList frames) : count(static_cast<int32_t>(std::min(frames.size(), view.size()))) {
    for (int32_t i = 0; i < count; ++i) view[static_cast<size_t>(i)] = frames[static_cast<size_t>(i)];
  }
  std::array<vmp::PlaneFrame*, 2> view{};
  int32_t count;
};
}  // namespace

PluginMetric::~PluginMetric() {
  if (object_ != nullptr) {
    if (auto release = reinterpret_cast<VmpReleaseMetric>(module_.Symbol("ReleaseMetric"))) release(object_);
  }
  module_.Unload();
}

bool PluginMetric::Load(const std::string& module_path) {
  if (!module_.Load(module_path)) return false;
  auto create = reinterpret_cast<VmpCreateMetric>(module_.Symbol("CreateMetric"));
  if (create == nullptr) return false;
  create(&object_);
  if (object_ == nullptr) return false;
  ClearBuffers();
  return true;
}

void PluginMetric::ClearBuffers() {
  ids_.fill(0);
  values_.fill(0.0f);
  components_.fill(0);
  roles_.fill({});
  for (auto& name : names_) name.fill(0);
  text_.fill(0);
}

void PluginMetric::Init(const MetricParams& params) {
  object_->Init(params.component, params.width, params.height, &ResultIdCounter());
}

FrameResult PluginMetric::Pairs(int32_t count) const {
  FrameResult result;
  for (int32_t i = 0; i < Capped(count, vmp::kMaxResults); ++i) result.push_back({ids_[i], values_[i]});
  return result;
}

FrameResult PluginMetric::Measure(FrameList frames) {
  int32_t count = 0;
  PluginFrameList list(frames);
  object_->Measure(list.view.data(), list.count, ids_.data(), values_.data(), &count);
  return Pairs(count);
}

FrameResult PluginMetric::MeasureAndVisualize(FrameList frames, VideoFrame& target) {
  int32_t count = 0;
  PluginFrameList list(frames);
  object_->MeasureAndVisualize(list.view.data(), list.count, ids_.data(),
                               values_.data(), &count, target.Plane(0).origin, target.stride());
  return Pairs(count);
}

ResultDescriptors PluginMetric::DescribeResults(bool with_visualization) {
  vmp::RoleList* roles[vmp::kMaxResults];
  char16_t* names[vmp::kMaxResults];
  for (int i = 0; i < vmp::kMaxResults; ++i) {
    roles[i] = &roles_[i];
    names[i] = names_[i].data();
    names_[i].fill(0);
  }
  int32_t count = 0;
  object_->DescribeResults(&count, ids_.data(), roles, names, with_visualization);
  ResultDescriptors descriptors;
  for (int32_t i = 0; i < Capped(count, vmp::kMaxResults); ++i) {
    const vmp::RoleList& list = roles_[i];
    std::vector<int32_t> inputs(list.roles, list.roles + Capped(list.count, vmp::kMaxRoles));
    descriptors.push_back({ids_[i], std::move(inputs), BufferText(names_[i].data(), vmp::kTextCapacity)});
  }
  std::sort(descriptors.begin(), descriptors.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  return descriptors;
}

FrameResult PluginMetric::GetAverageResult(bool with_visualization) {
  int32_t count = 0;
  object_->GetAverageResult(ids_.data(), values_.data(), &count, with_visualization);
  return Pairs(count);
}

std::vector<int32_t> PluginMetric::GetSupportedComponents() {
  int32_t count = 0;
  object_->GetSupportedComponents(components_.data(), &count);
  return {components_.begin(), components_.begin() + Capped(count, vmp::kMaxResults)};
}

std::string PluginMetric::Text(TextGetter getter) {
  text_.fill(0);
  (object_->*getter)(text_.data());
  return BufferText(text_.data(), text_.size());
}

std::string PluginMetric::GetConfiguration() {
  // 260 characters first, then up to five doublings: 520 ... 8320.
  size_t capacity = vmp::kTextCapacity;
  for (int attempt = 0; attempt < 6; ++attempt, capacity *= 2) {
    std::vector<char16_t> buffer(capacity, 0);
    if (object_->GetConfiguration(buffer.data(), static_cast<int32_t>(capacity))) {
      return BufferText(buffer.data(), capacity);
    }
  }
  return {};
}

bool PluginMetric::SetConfiguration(const std::string& text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return object_->SetConfiguration(wide.c_str());
}

}  // namespace vidmetra
