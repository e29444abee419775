#pragma once
// Every quality measure, built in or loaded from a plug-in, is driven through this interface.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "vidmetra/frame_result.h"
#include "vidmetra/plane_frame.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {

// frames[0] is the original and frames[1] the processed picture for two-input metrics; the one picture otherwise.
using FrameList = std::span<PlaneFrame* const>;

class Metric {
 public:
  virtual ~Metric() = default;

  virtual FrameResult Measure(FrameList frames) = 0;
  // `target` is an RGB24 frame of the measured size with border 0.
  virtual FrameResult MeasureAndVisualize(FrameList frames, VideoFrame& target) = 0;
  virtual ResultDescriptors DescribeResults(bool with_visualization) = 0;
  virtual FrameResult GetAverageResult(bool with_visualization) = 0;
  virtual int32_t GetInputCount(bool with_visualization) = 0;
  virtual std::vector<int32_t> GetSupportedComponents() = 0;
  virtual std::string GetName() = 0;
  virtual std::string GetHelpAddress() = 0;
  virtual bool IsHigherBetter() = 0;
  virtual std::string GetTitle() = 0;
  virtual std::string GetUnits() = 0;
  virtual int32_t GetWidthMultiple() = 0;
  virtual int32_t GetHeightMultiple() = 0;
  virtual bool IsConfigurable() = 0;
  virtual std::string GetConfiguration() = 0;
  virtual bool SetConfiguration(const std::string& text) = 0;
};

}  // namespace vidmetra
