#include "vidmetra/converters/dib_file.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "vidmetra/byte_order.h"
#include "vidmetra/converters/c_file.h"

namespace vidmetra::converters {
namespace {

constexpr size_t kHeadersBytes = kBmpFileHeaderBytes + kDibInfoHeaderBytes;

DibInfo ParseInfo(const uint8_t* bytes) {
  DibInfo info;
  info.width = static_cast<int32_t>(LoadLe32(bytes + 4));
  info.height = static_cast<int32_t>(LoadLe32(bytes + 8));
  info.planes = LoadLe16(bytes + 12);
  info.bit_count = LoadLe16(bytes + 14);
  info.compression = LoadLe32(bytes + 16);
  info.image_size = LoadLe32(bytes + 20);
  info.x_pixels_per_metre = static_cast<int32_t>(LoadLe32(bytes + 24));
  info.y_pixels_per_metre = static_cast<int32_t>(LoadLe32(bytes + 28));
  info.colours_used = LoadLe32(bytes + 32);
  info.colours_important = LoadLe32(bytes + 36);
  return info;
}

bool KnownDepthAndCompression(const DibInfo& info) {
  switch (info.bit_count) {
    case 1:
    case 16:
    case 24:
    case 32:
      return info.compression == kDibUncompressed;
    case 4:
      return info.compression == kDibUncompressed || info.compression == kDibRle4;
    case 8:
      return info.compression == kDibUncompressed || info.compression == kDibRle8;
    default:
      return false;
  }
}

// Fills in the colour count and the pixel byte count, or says the headers cannot describe a bitmap of a file of
// `file_length` bytes. Nothing here can overflow: every product is bounded by the file's length first.
bool CompleteInfo(DibInfo& info, uint64_t file_length) {
  if (info.width <= 0 || info.height <= 0 || !KnownDepthAndCompression(info)) return false;
  const uint32_t table_limit = info.bit_count <= 8 ? 1u << info.bit_count : 256u;
  if (info.colours_used == 0) info.colours_used = info.bit_count <= 8 ? table_limit : 0;
  if (info.colours_used > table_limit) return false;
  if (info.compression == kDibUncompressed) {
    const uint64_t row = PictureSize::PaddedRowBytes(info.width, info.bit_count);
    if (row > file_length / static_cast<uint64_t>(info.height)) return false;
    info.image_size = static_cast<uint32_t>(row * static_cast<uint64_t>(info.height));
  }
  return info.image_size > 0;
}

void StoreLe16(uint8_t* bytes, uint32_t value) {
  bytes[0] = static_cast<uint8_t>(value);
  bytes[1] = static_cast<uint8_t>(value >> 8);
}

void StoreLe32(uint8_t* bytes, uint32_t value) {
  StoreLe16(bytes, value);
  StoreLe16(bytes + 2, value >> 16);
}

}  // namespace

DibLoad ReadDibFile(const std::string& path, DibImage& image) {
  CFile file;
  if (!file.Open(path, "rb")) return DibLoad::kMissing;
  const int64_t length = file.Length();
  std::array<uint8_t, kHeadersBytes> headers{};
  if (length < static_cast<int64_t>(kHeadersBytes) || !file.ReadAll(headers.data(), headers.size()) ||
      headers[0] != 'B' || headers[1] != 'M' || LoadLe32(headers.data() + kBmpFileHeaderBytes) != kDibInfoHeaderBytes) {
    return DibLoad::kInvalid;
  }
  DibInfo info = ParseInfo(headers.data() + kBmpFileHeaderBytes);
  const auto file_length = static_cast<uint64_t>(length);
  if (!CompleteInfo(info, file_length)) return DibLoad::kInvalid;
  const uint64_t table_end = kHeadersBytes + 4ull * info.colours_used;
  const uint32_t pixel_offset = LoadLe32(headers.data() + 10);
  const uint64_t pixel_start = pixel_offset != 0 ? pixel_offset : table_end;
  if (pixel_start < table_end || pixel_start > file_length || info.image_size > file_length - pixel_start) {
    return DibLoad::kInvalid;
  }
  image.info = info;
  image.colour_table.resize(4 * static_cast<size_t>(info.colours_used));
  image.pixels.resize(info.image_size);
  const bool read = file.ReadAll(image.colour_table.data(), image.colour_table.size()) && file.Seek(pixel_start) &&
                    file.ReadAll(image.pixels.data(), image.pixels.size());
  return read ? DibLoad::kLoaded : DibLoad::kInvalid;
}

std::vector<uint8_t> DibHeaderBytes(const DibImage& image) {
  const size_t image_bytes = image.StoredImageBytes();
  const size_t pixel_offset = kHeadersBytes + 4 * image.ColourCount();
  std::vector<uint8_t> bytes(pixel_offset, 0);
  uint8_t* header = bytes.data();
  header[0] = 'B';
  header[1] = 'M';
  StoreLe32(header + 2, static_cast<uint32_t>(pixel_offset + image_bytes));
  StoreLe32(header + 10, static_cast<uint32_t>(pixel_offset));
  uint8_t* info = header + kBmpFileHeaderBytes;
  StoreLe32(info, kDibInfoHeaderBytes);
  StoreLe32(info + 4, static_cast<uint32_t>(image.info.width));
  StoreLe32(info + 8, static_cast<uint32_t>(image.info.height));
  StoreLe16(info + 12, image.info.planes);
  StoreLe16(info + 14, image.info.bit_count);
  StoreLe32(info + 16, image.info.compression);
  StoreLe32(info + 20, static_cast<uint32_t>(image_bytes));
  StoreLe32(info + 24, static_cast<uint32_t>(image.info.x_pixels_per_metre));
  StoreLe32(info + 28, static_cast<uint32_t>(image.info.y_pixels_per_metre));
  StoreLe32(info + 32, static_cast<uint32_t>(image.ColourCount()));
  StoreLe32(info + 36, image.info.colours_important);
  std::copy(image.colour_table.begin(), image.colour_table.end(), info + kDibInfoHeaderBytes);
  return bytes;
}

std::vector<uint8_t> DibFileBytes(const DibImage& image) {
  std::vector<uint8_t> bytes = DibHeaderBytes(image);
  const size_t image_bytes = std::min(image.StoredImageBytes(), image.pixels.size());
  bytes.insert(bytes.end(), image.pixels.begin(), image.pixels.begin() + static_cast<ptrdiff_t>(image_bytes));
  bytes.resize(bytes.size() + image.StoredImageBytes() - image_bytes, 0);
  return bytes;
}

bool WriteDibFile(const std::string& path, const DibImage& image) {
  const std::vector<uint8_t> headers = DibHeaderBytes(image);
  CFile file;
  return image.pixels.size() >= image.StoredImageBytes() && file.Open(path, "wb") &&
         file.WriteAll(headers.data(), headers.size()) &&
         file.WriteAll(image.pixels.data(), image.StoredImageBytes()) && file.Close();
}

}  // namespace vidmetra::converters
