#pragma once
#include <array>
#include <cstdint>

namespace vidmetra {

inline constexpr uint32_t kBitmapInfoHeaderBytes = 40;

// The 40-byte bitmap information header that BMP files and AVI video formats share.
struct BitmapInfoHeader {
  uint32_t size = kBitmapInfoHeaderBytes;
  int32_t width = 0;
  int32_t height = 0;  // positive: rows stored bottom-up
  uint16_t planes = 1;
  uint16_t bit_count = 0;
  uint32_t compression = 0;
  uint32_t image_size = 0;
  int32_t x_pels_per_meter = 0;
  int32_t y_pels_per_meter = 0;
  uint32_t colours_used = 0;
  uint32_t colours_important = 0;

  std::array<uint8_t, kBitmapInfoHeaderBytes> Bytes() const;
  static BitmapInfoHeader Parse(const uint8_t* bytes);
};

// The format of an uncompressed 24-bit bottom-up picture: what the writers hand to files and compressors.
BitmapInfoHeader Rgb24Format(int32_t width, int32_t height);

}  // namespace vidmetra
