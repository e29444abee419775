#pragma once
// Decoded pictures into the tight layouts the readers deliver: YV12 (Y, V, U), YUY2, planar 4:4:4 YUV, Y alone, or
// bottom-up RGB24 rows padded to 4 bytes. A picture already in the asked layout is copied plane by plane; any
// other goes through libswscale with exact, non-dithering settings and the picture's own colour matrix and range.
#include <cstdint>

struct AVFrame;
struct SwsContext;

namespace vidmetra {

// The layout a decoder's pixel format gives without loss where the caller accepts YUV: YV12 for 8-bit 4:2:0, YUY2
// for 8-bit 4:2:2, RGB24 for everything else.
int NativeColourSpace(int pixel_format);

class PictureConverter {
 public:
  // What happens to full-range ("yuvj") pictures: brought to the limited range of the delivered layout, or
  // delivered with the sample values they have.
  enum class Range { kLimited, kKeep };

  explicit PictureConverter(Range range = Range::kLimited) : range_(range) {}
  ~PictureConverter();
  PictureConverter(const PictureConverter&) = delete;
  PictureConverter& operator=(const PictureConverter&) = delete;

  // Writes `picture` as a tight frame of `colour_space` (kYv12, kYuy2, kYuv, kY or kRgb24); false when the picture
  // is not width x height or cannot be converted.
  bool Write(const AVFrame& picture, int colour_space, int width, int height, uint8_t* target);

 private:
  // The picture's format, with full-range formats named by their plain twins when their values are kept.
  int SourceFormat(const AVFrame& picture) const;
  bool WritePlanes(const AVFrame& picture, int target_format, uint8_t* const planes[4], const int strides[4],
                   const int heights[4]);
  bool Convert(const AVFrame& picture, int target_format, uint8_t* const planes[4], const int strides[4]);

  Range range_;
  SwsContext* context_ = nullptr;
  int source_format_ = -1;
  int target_format_ = -1;
  int colour_matrix_ = -1;
  int source_range_ = -1;
};

}  // namespace vidmetra
