#pragma once
// The inputs of a finished run, opened again to show single frames: reads a frame of one input and turns it
// into displayable pixels (YUV through the run's colour matrix). Holds its frames for as long as it lives, so
// stepping through frames allocates nothing.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "vidmetra/input_file_entry.h"
#include "vidmetra/measurement_driver.h"
#include "vidmetra/sequence_reader.h"
#include "vidmetra/video_frame.h"

namespace vidmetra::ui {

class FrameSource {
 public:
  // Opens every input through `opener`; inputs that fail to open stay without a reader.
  FrameSource(const std::map<int32_t, InputFileEntry>& inputs, ReaderOpener& opener, int32_t colour_matrix);
  ~FrameSource();
  FrameSource(const FrameSource&) = delete;
  FrameSource& operator=(const FrameSource&) = delete;

  bool Has(int32_t input) const { return readers_.count(input) != 0; }
  // The smallest input index that opened.
  std::optional<int32_t> FirstInput() const;

  // Reads `frame` of `input` into the picture; false (picture unchanged) when it cannot be read or converted.
  bool Read(int32_t input, int32_t frame);

  // Blue, green, red per pixel, rows top first, 3 x width bytes apart. Empty until a frame was read.
  const std::vector<uint8_t>& picture() const { return picture_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  bool ConvertYuv();
  bool ConvertRgb();

  std::map<int32_t, std::unique_ptr<SequenceReader>> readers_;
  int32_t colour_matrix_;
  VideoFrame read_;
  VideoFrame converted_;
  std::vector<uint8_t> planes_;
  std::vector<uint8_t> picture_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vidmetra::ui
