#pragma once
// What the built-in metrics share: descriptive strings, the running sums behind the whole-sequence value,
// the per-pixel difference map used for visualization, and the numbering of result series.
#include <memory>

#include "vidmetra/colour_component.h"
#include "vidmetra/metric.h"

namespace vidmetra {

// All help pages are anchors of one page.
inline constexpr const char* kHelpPage = "https://vidmetra.org/help/metrics.html#";

class MetricBase : public Metric {
 public:
  explicit MetricBase(const MetricParams& params);

  ResultDescriptors DescribeResults(bool with_visualization) override;
  FrameResult GetAverageResult(bool with_visualization) override;
  int32_t GetInputCount(bool with_visualization) override;
  std::string GetName() override { return name_; }
  std::string GetHelpAddress() override { return help_address_; }
  bool IsHigherBetter() override { return higher_is_better_; }
  std::string GetTitle() override { return title_; }
  std::string GetUnits() override { return units_; }
  int32_t GetWidthMultiple() override { return width_multiple_; }
  int32_t GetHeightMultiple() override { return height_multiple_; }
  bool IsConfigurable() override { return false; }
  std::string GetConfiguration() override { return {}; }
  bool SetConfiguration(const std::string&) override { return false; }

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
  size_t SampleCount() const { return static_cast<size_t>(params_.width) * static_cast<size_t>(params_.height); }

  std::string name_;
  std::string title_;
  int32_t result_id_;
  float frame_value_ = 0.0f;
  double sum_ = 0.0;
  int32_t count_ = 0;
  std::string help_address_;
  int32_t inputs_without_visualization_ = 2;
  int32_t inputs_with_visualization_ = 2;
  MetricParams params_;
  bool higher_is_better_ = false;
  std::string units_;
  int32_t width_multiple_ = 2;
  int32_t height_multiple_ = 2;

 private:
  struct FreeDeleter {
    void operator()(float* map) const;
  };
  // Zeroed lazily by the system: only runs with visualization touch it.
  std::unique_ptr<float, FreeDeleter> difference_map_;
};

}  // namespace vidmetra
