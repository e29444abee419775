#include "vidmetra/bitmap_info_header.h"

#include "vidmetra/byte_order.h"

namespace vidmetra {

std::array<uint8_t, kBitmapInfoHeaderBytes> BitmapInfoHeader::Bytes() const {
  std::array<uint8_t, kBitmapInfoHeaderBytes> bytes{};
  StoreLe32(&bytes[0], size);
  StoreLe32(&bytes[4], static_cast<uint32_t>(width));
  StoreLe32(&bytes[8], static_cast<uint32_t>(height));
  StoreLe16(&bytes[12], planes);
  StoreLe16(&bytes[14], bit_count);
  StoreLe32(&bytes[16], compression);
  StoreLe32(&bytes[20], image_size);
  StoreLe32(&bytes[24], static_cast<uint32_t>(x_pels_per_meter));
  StoreLe32(&bytes[28], static_cast<uint32_t>(y_pels_per_meter));
  StoreLe32(&bytes[32], colours_used);
  StoreLe32(&bytes[36], colours_important);
  return bytes;
}

BitmapInfoHeader BitmapInfoHeader::Parse(const uint8_t* bytes) {
  BitmapInfoHeader header;
  header.size = LoadLe32(bytes);
  header.width = static_cast<int32_t>(LoadLe32(bytes + 4));
  header.height = static_cast<int32_t>(LoadLe32(bytes + 8));
  header.planes = LoadLe16(bytes + 12);
  header.bit_count = LoadLe16(bytes + 14);
  header.compression = LoadLe32(bytes + 16);
  header.image_size = LoadLe32(bytes + 20);
  header.x_pels_per_meter = static_cast<int32_t>(LoadLe32(bytes + 24));
  header.y_pels_per_meter = static_cast<int32_t>(LoadLe32(bytes + 28));
  header.colours_used = LoadLe32(bytes + 32);
  header.colours_important = LoadLe32(bytes + 36);
  return header;
}

BitmapInfoHeader Rgb24Format(int32_t width, int32_t height) {
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bit_count = 24;
  header.image_size = static_cast<uint32_t>(3 * static_cast<int64_t>(width) * height);
  return header;
}

}  // namespace vidmetra
