#include "vidmetra/bmp_writer.h"

#include <array>
#include <cstdio>
#include <new>
#include <vector>

#include "vidmetra/bitmap_info_header.h"
#include "vidmetra/byte_order.h"
#include "vidmetra/colour_space.h"

namespace vidmetra {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kPixelOffset = kFileHeaderBytes + BitmapInfoHeader::kBytes;

constexpr StatusMessage kMessages[] = {
    {0, "No error occured!"},
    {1, "Failed to create BMP file with incorrect dimensions!"},
    {2, "Failed to open file!"},
    {3, "Failed to write to BMP file!"},
    {4, "Not enough memory!"},
};

std::array<uint8_t, kPixelOffset> Headers(int width, int height, uint32_t image_size) {
  std::array<uint8_t, kPixelOffset> bytes{};
  bytes[0] = 'B';
  bytes[1] = 'M';
  StoreLe32(&bytes[2], kPixelOffset + image_size);
  StoreLe32(&bytes[10], kPixelOffset);
  BitmapInfoHeader info;
  info.width = width;
  info.height = height;
  info.bit_count = 24;
  info.image_size = image_size;
  const auto info_bytes = info.Bytes();
  std::copy(info_bytes.begin(), info_bytes.end(), bytes.begin() + kFileHeaderBytes);
  return bytes;
}

}  // namespace

int BmpWriter::Open(const char* name, int width, int height) {
  Close();
  if (name == nullptr) return kOpenFailed;
  // Negative sizes cannot make a bitmap either; they are refused with the zero ones.
  if (width <= 0 || height <= 0) return kBadDimensions;
  name_ = name;
  width_ = width;
  height_ = height;
  row_bytes_ = RowBytes(kRgb24, width);
  return kOk;
}

int BmpWriter::WriteRaw(const uint8_t* buffer) {
  const int64_t image_size = row_bytes_ * height_;
  // A picture too large for the file's 32-bit size field cannot be written correctly at all.
  if (buffer == nullptr || name_.empty() || image_size + kPixelOffset > UINT32_MAX) return kWriteFailed;
  std::FILE* file = std::fopen(name_.c_str(), "wb");
  if (file == nullptr) return kOpenFailed;
  const auto headers = Headers(width_, height_, static_cast<uint32_t>(image_size));
  bool written = std::fwrite(headers.data(), 1, headers.size(), file) == headers.size();
  written = written && std::fwrite(buffer, 1, static_cast<size_t>(image_size), file) == static_cast<size_t>(image_size);
  // A failed close may lose buffered bytes; it counts as a short write.
  written = std::fclose(file) == 0 && written;
  return written ? kOk : kWriteFailed;
}

int BmpWriter::WriteFrame(const VideoFrame& frame) {
  if (frame.width() != width_ || frame.height() != height_ || frame.colour_space() != kRgb24 || !frame.HasPixels()) {
    return kBadDimensions;
  }
  if (frame.alloc_width() == width_ && frame.alloc_height() == height_) return WriteRaw(frame.data());
  std::vector<uint8_t> tight;
  try {
    tight.resize(static_cast<size_t>(row_bytes_ * height_));
  } catch (const std::bad_alloc&) {
    return kNoMemory;
  }
  frame.ExportTight(tight.data());
  return WriteRaw(tight.data());
}

std::string BmpWriter::Describe(size_t capacity) const {
  return CutToCapacity("file \"" + name_ + "\" width " + std::to_string(width_) + " height " + std::to_string(height_),
                       capacity);
}

std::string BmpWriter::ErrorText(int code, size_t capacity) const {
  return WriteErrorText(name_, StatusReason(kMessages, code), capacity);
}

int BmpWriter::Close() {
  name_.clear();
  width_ = 0;
  height_ = 0;
  row_bytes_ = 0;
  return kOk;
}

std::unique_ptr<BmpWriter> CreateBmpWriter(const std::string& name, int width, int height) {
  auto writer = std::make_unique<BmpWriter>();
  if (writer->Open(name.c_str(), width, height) != BmpWriter::kOk) return nullptr;
  return writer;
}

}  // namespace vidmetra
