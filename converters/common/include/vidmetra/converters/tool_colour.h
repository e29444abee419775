#pragma once
// The converters' own colour formulas between 8-bit RGB and the full-range YUV of ".seq" files. They are not
// the measurement program's conversions: double precision, every result truncated toward zero, and chroma
// subsampled by averaging the already truncated samples of each 2 × 2 block.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "vidmetra/colour_formulas.h"
#include "vidmetra/converters/picture_size.h"

namespace vidmetra::converters {

struct Yuv8 {
  uint8_t y, u, v;
};

Yuv8 ToolRgbToYuv(int r, int g, int b);
Bgr8 ToolYuvToRgb(int y, int u, int v);

// Converts bottom-up B, G, R rows (`stride` bytes apart, the first stored row first) into one sequence frame.
// The full-size chroma planes it needs are allocated once, when it is made.
class SequenceFrameFromBgr {
 public:
  explicit SequenceFrameFromBgr(PictureSize size);
  void Convert(const uint8_t* bottom_up_rows, size_t stride, uint8_t* frame);

 private:
  PictureSize size_;
  std::vector<uint8_t> full_u_;
  std::vector<uint8_t> full_v_;
};

// An 8-bit image as grey: the palette index is the luma and the chroma is 128.
void SequenceFrameFromIndices(PictureSize size, const uint8_t* bottom_up_rows, size_t stride, uint8_t* frame);

// Writes the three planes of a sequence frame as bottom-up B, G, R rows `stride` bytes apart; the padding bytes
// at the end of each row are left as they are.
void SequencePlanesToBgr(PictureSize size, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                         uint8_t* bottom_up_rows, size_t stride);

}  // namespace vidmetra::converters
