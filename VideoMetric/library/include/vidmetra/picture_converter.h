#pragma once
// Decoded pictures into the layouts the AVI reader delivers: YV12 (Y, V, U), YUY2, or bottom-up RGB24 rows padded
// to 4 bytes. A picture already in the asked layout is copied plane by plane; any other goes through libswscale
// with exact, non-dithering settings and the picture's own colour matrix and range.
#include <cstdint>

struct AVFrame;
struct SwsContext;

namespace vidmetra {

// The layout a decoder's pixel format gives without loss where the caller accepts YUV: YV12 for 8-bit 4:2:0, YUY2
// for 8-bit 4:2:2, RGB24 for everything else.
int NativeColourSpace(int pixel_format);

class PictureConverter {
 public:
  PictureConverter() = default;
  ~PictureConverter();
  PictureConverter(const PictureConverter&) = delete;
  PictureConverter& operator=(const PictureConverter&) = delete;

  // Writes `picture` as a tight frame of `colour_space` (kYv12, kYuy2 or kRgb24); false when the picture is not
  // width x height or cannot be converted.
  bool Write(const AVFrame& picture, int colour_space, int width, int height, uint8_t* target);

 private:
  bool Convert(const AVFrame& picture, int target_format, uint8_t* const planes[4], const int strides[4]);

  SwsContext* context_ = nullptr;
  int source_format_ = -1;
  int target_format_ = -1;
  int colour_matrix_ = -1;
  int source_range_ = -1;
};

}  // namespace vidmetra
