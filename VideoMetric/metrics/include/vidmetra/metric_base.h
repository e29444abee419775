#pragma once
// What the built-in metrics share: their descriptor, the running sums behind the whole-sequence value, the
// per-pixel difference map used for visualization, and the numbering of result series.
#include <memory>

#include "vidmetra/colour_component.h"
#include "vidmetra/metric.h"
#include "vidmetra/metric_descriptor.h"

namespace vidmetra {

class MetricBase : public Metric {
 public:
  // The descriptor's texts and components outlive the metric (the built-ins' are static).
  MetricBase(const MetricParams& params, const MetricDescriptor& descriptor);

  ResultDescriptors DescribeResults(bool with_visualization) override;
  FrameResult GetAverageResult(bool with_visualization) override;
  int32_t GetInputCount(bool with_visualization) override;
  std::vector<int32_t> GetSupportedComponents() override;
  std::string GetName() override { return std::string(descriptor_.name); }
  std::string GetHelpAddress() override { return descriptor_.HelpAddress(); }
  bool IsHigherBetter() override { return descriptor_.higher_is_better; }
  std::string GetTitle() override { return std::string(descriptor_.title); }
  std::string GetUnits() override { return std::string(descriptor_.units); }
  int32_t GetWidthMultiple() override { return descriptor_.width_multiple; }
  int32_t GetHeightMultiple() override { return descriptor_.height_multiple; }
  bool IsConfigurable() override { return descriptor_.configurable; }
  std::string GetConfiguration() override { return std::string(descriptor_.default_configuration); }
  bool SetConfiguration(const std::string&) override { return false; }

  // A frame without values adds nothing.
  virtual void AccumulateFrameValues(std::vector<float> values, bool with_visualization);
  virtual void RenderVisualization(VideoFrame& target) = 0;
  virtual std::vector<int32_t> GetResultIds();

 protected:
  // The common tail of Measure and MeasureAndVisualize: accumulate, render when there is a target, and pair
  // the values with the result ids.
  FrameResult CompleteFrame(std::vector<float> values, VideoFrame* target);
  // For metrics that report one value per frame but accumulate another (PSNR reports dB, sums squared errors).
  FrameResult CompleteFrame(const std::vector<float>& reported, std::vector<float> accumulated, VideoFrame* target);
  float* difference_map() { return difference_map_.get(); }
  const float* Plane(FrameList frames, size_t index) const { return frames[index]->ComponentPlane(params_.component); }
  // The input's samples as floats: its float plane, or where the preparation kept bytes, their widening into a
  // plane of this metric's own (allocated on first need). For a metric whose kernels read bytes only when every
  // input came as bytes.
  const float* FloatPlane(FrameList frames, size_t index);
  size_t SampleCount() const { return static_cast<size_t>(params_.width) * static_cast<size_t>(params_.height); }

  const MetricDescriptor descriptor_;
  int32_t result_id_;
  float frame_value_ = 0.0f;
  double sum_ = 0.0;
  int32_t count_ = 0;
  MetricParams params_;

 private:
  struct FreeDeleter {
    void operator()(float* map) const;
  };
  // Zeroed lazily by the system: only runs with visualization touch it.
  std::unique_ptr<float, FreeDeleter> difference_map_;
  std::unique_ptr<float, FreeDeleter> widened_[2];
};

}  // namespace vidmetra
