#include "vidmetra/bitmap_info_header.h"

#include <algorithm>
#include <array>

#include "vidmetra/byte_order.h"

namespace vidmetra {
namespace {

void StoreLe(std::vector<uint8_t>& bytes, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

BitmapInfoHeader BitmapInfoHeader::Parse(std::span<const uint8_t> bytes) {
  std::array<uint8_t, kBytes> b{};
  std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kBytes), b.begin());
  BitmapInfoHeader header;
  header.size = LoadLe32(&b[0]);
  header.width = static_cast<int32_t>(LoadLe32(&b[4]));
  header.height = static_cast<int32_t>(LoadLe32(&b[8]));
  header.planes = LoadLe16(&b[12]);
  header.bit_count = LoadLe16(&b[14]);
  header.compression = LoadLe32(&b[16]);
  header.image_size = LoadLe32(&b[20]);
  header.x_pels_per_meter = static_cast<int32_t>(LoadLe32(&b[24]));
  header.y_pels_per_meter = static_cast<int32_t>(LoadLe32(&b[28]));
  header.colours_used = LoadLe32(&b[32]);
  header.colours_important = LoadLe32(&b[36]);
  return header;
}

std::vector<uint8_t> BitmapInfoHeader::Bytes() const {
  std::vector<uint8_t> bytes;
  bytes.reserve(kBytes);
  StoreLe(bytes, size, 4);
  StoreLe(bytes, static_cast<uint32_t>(width), 4);
  StoreLe(bytes, static_cast<uint32_t>(height), 4);
  StoreLe(bytes, planes, 2);
  StoreLe(bytes, bit_count, 2);
  StoreLe(bytes, compression, 4);
  StoreLe(bytes, image_size, 4);
  StoreLe(bytes, static_cast<uint32_t>(x_pels_per_meter), 4);
  StoreLe(bytes, static_cast<uint32_t>(y_pels_per_meter), 4);
  StoreLe(bytes, colours_used, 4);
  StoreLe(bytes, colours_important, 4);
  return bytes;
}

}  // namespace vidmetra
