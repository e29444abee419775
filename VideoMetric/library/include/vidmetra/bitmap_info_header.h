#pragma once
// The 40-byte bitmap information header that AVI video formats and DIB files start with.
#include <cstdint>
#include <span>
#include <vector>

namespace vidmetra {

struct BitmapInfoHeader {
  static constexpr uint32_t kBytes = 40;

  uint32_t size = kBytes;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bit_count = 0;
  uint32_t compression = 0;
  uint32_t image_size = 0;
  int32_t x_pels_per_meter = 0;
  int32_t y_pels_per_meter = 0;
  uint32_t colours_used = 0;
  uint32_t colours_important = 0;

  // Fields of the first 40 bytes; missing bytes read as zero.
  static BitmapInfoHeader Parse(std::span<const uint8_t> bytes);
  std::vector<uint8_t> Bytes() const;
};

}  // namespace vidmetra
