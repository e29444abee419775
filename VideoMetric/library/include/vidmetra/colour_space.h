#pragma once
// Pixel layouts of every frame buffer and reader. Codes 0..7 are what readers deliver;
// 8..12 exist only inside frames for analysis.
#include <cstdint>

namespace vidmetra {

enum ColourSpace : int32_t {
  kRgb24 = 0,
  kRgb32 = 1,
  kYuv = 2,
  kYuy2 = 3,
  kUyvy = 4,
  kYv12 = 5,
  kIyuv = 6,
  kY = 7,
  kYv16 = 8,
  kPlanarRgb = 9,
  kPlanarGDiff = 10,
  kPlanarYCbCr = 11,
  kPlanarYrg = 12,
};

// Bytes reserved per pixel of the padded frame.
int AllocationFactor(int colour_space);
// Bytes between horizontally adjacent pixels of the first plane.
int PixelStep(int colour_space);
// Row bytes of the first plane for a width (RGB rows are 4- or 8-aligned as in DIBs).
int64_t RowBytes(int colour_space, int64_t width);
// Bytes of one frame in the tight layout; 0 for a code without one.
int64_t TightFrameBytes(int colour_space, int64_t width, int64_t height);

bool IsRgbLike(int colour_space);
bool IsYuvLike(int colour_space);
bool IsPlanar420(int colour_space);
bool IsThreePlane(int colour_space);
// The label used in reader texts; empty for codes without one.
const char* ColourSpaceLabel(int colour_space);

}  // namespace vidmetra
