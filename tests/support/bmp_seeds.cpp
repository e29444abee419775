#include "support/bmp_seeds.h"

#include "support/byte_files.h"
#include "support/riff_writer.h"

namespace vidmetra::testing {

std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, uint32_t header_size, uint16_t bit_count,
                                 size_t pixel_bytes) {
  RiffWriter file;
  file.Bytes(std::vector<uint8_t>{'B', 'M'});
  file.U32(static_cast<uint32_t>(14 + header_size + pixel_bytes));
  file.U32(0);
  file.U32(14 + header_size);
  file.U32(header_size);
  file.U32(static_cast<uint32_t>(width));
  file.U32(static_cast<uint32_t>(height));
  file.U16(1);
  file.U16(bit_count);
  file.Zeros(24);
  if (header_size > 40) file.Zeros(header_size - 40);
  std::vector<uint8_t> bytes = file.Data();
  const std::vector<uint8_t> pixels = PatternBytes(pixel_bytes, 7);
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

std::vector<NamedBytes> BmpSeedFiles() {
  return {
      {"rgb24_6x2", BitmapBytes(6, 2, 40, 24, 40)},
      {"rgb24_1x1", BitmapBytes(1, 1, 40, 24, 4)},
      {"rgb24_5x3", BitmapBytes(5, 3, 40, 24, 48)},
      {"header_v5", BitmapBytes(4, 4, 124, 24, 48)},
      {"rgb32_2x2", BitmapBytes(2, 2, 40, 32, 16)},
      {"short_pixels", BitmapBytes(8, 8, 40, 24, 10)},
  };
}

}  // namespace vidmetra::testing
