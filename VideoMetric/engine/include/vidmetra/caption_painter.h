#pragma once
// Stamps the caption on a visualization picture or a bad-frame bitmap: the product line, optionally the frame
// number, optionally one line per value of the frame (or "Original" on the original's bitmap). Every line is
// drawn twice, a dark shadow one pixel right and down, then the light text, so it reads on any picture.
#include <cstdint>
#include <string>
#include <utility>

#include "vidmetra/caption_canvas.h"
#include "vidmetra/measurement_driver.h"
#include "vidmetra/measurement_settings.h"
#include "vidmetra/result_store.h"

namespace vidmetra {

// Top-left corner of the caption box for a picture of w x h pixels, clamped to the picture.
std::pair<int, int> CaptionAnchor(int32_t position, int width, int height);

class CaptionPainter {
 public:
  // `titles` names the metric of each series.
  CaptionPainter(const TextStamp& stamp, const MetricSource& titles) : stamp_(stamp), titles_(titles) {
    line_.reserve(kTypicalLine);
  }

  // `reference`: the bitmap is the original's, whose single value line reads "Original".
  void Draw(const CaptionCanvas& canvas, int32_t frame_number, const FrameResult& result, bool reference,
            const CaptionSettings& settings, const ResultStore& store);

 private:
  void Line(const CaptionCanvas& canvas, int x, int y);
  // "<title> <component>: " of the series with this id into line_.
  void StartValueLine(const ResultStore& store, int32_t id);

  static constexpr size_t kTypicalLine = 256;

  const TextStamp& stamp_;
  const MetricSource& titles_;
  // Reused for every line, so that captions stop allocating once the longest line has been composed.
  std::string line_;
  int32_t title_index_ = -1;
  std::string title_;
};

}  // namespace vidmetra
