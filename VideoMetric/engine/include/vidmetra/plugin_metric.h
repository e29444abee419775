#pragma once
// Makes a plug-in's metric object look like any other Metric. Everything a plug-in hands back is capped to the
// host's arrays and buffers, so a misbehaving plug-in cannot make the host read or write past them.
#include <array>
#include <string>

#include "vidmetra/metric.h"
#include "vidmetra/plugin.h"
#include "vidmetra/shared_module.h"

namespace vidmetra {

class PluginMetric : public Metric {
 public:
  PluginMetric() = default;
  ~PluginMetric() override;  // releases the object, then unloads the module

  // Loads the module and creates its object; false when the module cannot be loaded, lacks CreateMetric or
  // creates nothing.
  bool Load(const std::string& module_path);
  void Init(const MetricParams& params);

  FrameResult Measure(FrameList frames) override;
  FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) override;
  ResultDescriptors DescribeResults(bool with_visualization) override;
  FrameResult GetAverageResult(bool with_visualization) override;
  int32_t GetInputCount(bool with_visualization) override { return object_->GetInputCount(with_visualization); }
  std::vector<int32_t> GetSupportedComponents() override;
  std::string GetName() override { return Text(&vmp::MetricObject::GetName); }
  std::string GetHelpAddress() override { return Text(&vmp::MetricObject::GetHelpAddress); }
  bool IsHigherBetter() override { return object_->IsHigherBetter(); }
  std::string GetTitle() override { return Text(&vmp::MetricObject::GetTitle); }
  std::string GetUnits() override { return Text(&vmp::MetricObject::GetUnits); }
  int32_t GetWidthMultiple() override { return object_->GetWidthMultiple(); }
  int32_t GetHeightMultiple() override { return object_->GetHeightMultiple(); }
  bool IsConfigurable() override { return object_->IsConfigurable(); }
  std::string GetConfiguration() override;
  bool SetConfiguration(const std::string& text) override;

 private:
  using TextGetter = void (vmp::MetricObject::*)(char16_t*);
  std::string Text(TextGetter getter);
  FrameResult Pairs(int32_t count) const;
  void ClearBuffers();

  SharedModule module_;
  vmp::MetricObject* object_ = nullptr;
  std::array<int32_t, vmp::kMaxResults> ids_{};
  std::array<float, vmp::kMaxResults> values_{};
  std::array<int32_t, vmp::kMaxResults> components_{};
  std::array<vmp::RoleList, vmp::kMaxResults> roles_{};
  std::array<std::array<char16_t, vmp::kTextCapacity>, vmp::kMaxResults> names_{};
  std::array<char16_t, vmp::kTextCapacity> text_{};
};

}  // namespace vidmetra
