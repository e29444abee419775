#pragma once
// A device-independent bitmap as the converters and the viewer hold it: the 40-byte information header, the
// colour table (4 bytes per entry: blue, green, red, zero) and the pixel data (rows bottom-up, each padded to
// whole 32-bit words unless the bitmap is run-length compressed).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/converters/picture_size.h"

namespace vidmetra::converters {

inline constexpr size_t kBmpFileHeaderBytes = 14;
inline constexpr size_t kDibInfoHeaderBytes = 40;
inline constexpr uint32_t kDibUncompressed = 0, kDibRle8 = 1, kDibRle4 = 2;

struct DibInfo {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bit_count = 24;
  uint32_t compression = kDibUncompressed;
  uint32_t image_size = 0;
  int32_t x_pixels_per_metre = 96;
  int32_t y_pixels_per_metre = 96;
  uint32_t colours_used = 0;
  uint32_t colours_important = 0;
};

struct DibImage {
  DibInfo info;
  std::vector<uint8_t> colour_table;
  std::vector<uint8_t> pixels;

  // A 24-bit picture with zeroed, padded rows, as the tools make them.
  static DibImage Bgr24(PictureSize size);

  bool IsCompressed() const { return info.compression == kDibRle8 || info.compression == kDibRle4; }
  size_t ColourCount() const { return colour_table.size() / 4; }
  size_t Stride() const { return PictureSize::PaddedRowBytes(info.width, info.bit_count); }
  // Pixel bytes as stored in a file: the padded size for uncompressed bitmaps, the header's size otherwise.
  size_t StoredImageBytes() const;
  // True for an uncompressed 24-bit bitmap of exactly this size.
  bool IsBgr24Of(PictureSize size) const;
};

}  // namespace vidmetra::converters
