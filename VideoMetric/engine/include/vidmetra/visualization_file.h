#pragma once
// The visualization of one measured file: the metric's pictures, each stamped with its caption, appended to a
// video through the user's compressor (a bitmap when the inputs are bitmaps).
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/caption_painter.h"
#include "vidmetra/growable_buffer.h"
#include "vidmetra/measurement_driver.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/video_output.h"

namespace vidmetra {

// The file name for the series `ids`: generated from their metrics and inputs with ".bmp" when any input is a
// bitmap and ".avi" otherwise, or the custom name unchanged; inside the output folder when there is one.
std::string VisualizationPath(const VisualizationSettings& settings, const std::vector<int32_t>& ids,
                              const ResultStore& store, const MetricCatalogue& catalogue);

class VisualizationFile final : public VisualizationOutput {
 public:
  VisualizationFile(const VisualizationSettings& settings, const std::vector<int32_t>& result_ids,
                    const ResultStore& store, const MetricCatalogue& catalogue, const TextStamp& stamp);
  ~VisualizationFile() override { Close(); }

  bool Open() override;
  std::string Path() const override { return path_; }
  void WriteFrame(VideoFrame& image, int32_t frame_number, const FrameResult& result,
                  const ResultStore& store) override;
  bool Close() override;

 private:
  VisualizationSettings settings_;
  std::vector<int32_t> result_ids_;
  std::string path_;
  VideoOutput output_;
  GrowableBuffer bitmap_;
  int64_t row_bytes_ = 0;
  CaptionPainter painter_;
  bool write_failed_ = false;
};

}  // namespace vidmetra
