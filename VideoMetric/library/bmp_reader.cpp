#include "vidmetra/bmp_reader.h"

#include <array>
#include <cstring>
#include <limits>
#include <new>

#include "vidmetra/byte_order.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/read_only_file.h"

namespace vidmetra {
namespace {

constexpr std::array<StatusMessage, 5> kMessages = {{
    {BmpReader::kOk, "No error occured!"},
    {BmpReader::kAlreadyDelivered, "Error in YUV reader!"},
    {BmpReader::kOpenFailed, "Failed to open file! File is missed or corrupted."},
    {BmpReader::kBadFile, "Failed to open file! File is missed or corrupted."},
    {BmpReader::kBadFrameNumber, "Bad frame number occured!"},
}};

constexpr uint16_t kSignature = 0x4D42;  // "BM"
constexpr uint16_t kBitCount = 24;

}  // namespace

bool LooksLikeBmp(std::span<const uint8_t> head) {
  return head.size() >= BmpReader::kFileHeaderBytes + 4 && LoadLe16(head.data()) == kSignature &&
         LoadLe32(head.data() + BmpReader::kFileHeaderBytes) == BmpReader::kInfoHeaderBytes;
}

int BmpReader::Open(const std::string& name) {
  Close();
  name_ = name;
  ReadOnlyFile file;
  if (!file.Open(name)) return kOpenFailed;
  std::array<uint8_t, kFileHeaderBytes + kInfoHeaderBytes> headers{};
  if (!file.ReadAt(0, headers.data(), headers.size())) return kBadFile;
  const uint8_t* info = headers.data() + kFileHeaderBytes;
  // The pixels are taken to follow the header directly, so only a plain 24-bit bitmap can be read; anything else
  // fails here rather than being read as something it is not.
  if (LoadLe16(headers.data()) != kSignature || LoadLe32(info) != kInfoHeaderBytes) return kBadFile;
  const auto width = static_cast<int32_t>(LoadLe32(info + 4));
  const auto height = static_cast<int32_t>(LoadLe32(info + 8));
  if (width <= 0 || height <= 0 || LoadLe16(info + 14) != kBitCount) return kBadFile;
  // Checked against the file before anything is allocated: a header may claim any size.
  // Divided rather than multiplied, so that no claimed size can overflow the check.
  const auto row_bytes = static_cast<uint64_t>(RowBytes(kRgb24, width));
  if (row_bytes > (file.Size() - headers.size()) / static_cast<uint64_t>(height)) return kBadFile;
  const uint64_t image_bytes = row_bytes * static_cast<uint64_t>(height);
  try {
    pixels_.resize(static_cast<size_t>(image_bytes));
  } catch (const std::bad_alloc&) {
    return kNoMemory;
  }
  if (!file.ReadAt(headers.size(), pixels_.data(), pixels_.size())) {
    pixels_.clear();
    return kBadFile;
  }
  std::memcpy(info_header_.data(), info, info_header_.size());
  width_ = width;
  height_ = height;
  delivered_ = false;
  return kOk;
}

int BmpReader::ReadNextRaw(uint8_t* buffer) {
  if (delivered_ || pixels_.empty()) return kAlreadyDelivered;
  std::memcpy(buffer, pixels_.data(), pixels_.size());
  delivered_ = true;
  return kOk;
}

int BmpReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  if (frame_number != 0) return kBadFrameNumber;
  delivered_ = false;
  return ReadNextRaw(buffer);
}

int BmpReader::ReadFrame(VideoFrame& frame, int frame_number) {
  if (frame_number != 0) return kBadFrameNumber;
  delivered_ = false;
  return SequenceReader::ReadFrame(frame, frame_number);
}

int BmpReader::Close() {
  info_header_.fill(0);
  width_ = height_ = 0;
  name_.clear();
  pixels_.clear();
  pixels_.shrink_to_fit();
  ReleaseFrameBuffer();
  delivered_ = false;
  return kOk;
}

std::string BmpReader::Describe(size_t capacity) const {
  return CutToCapacity("file \"" + name_ + "\" width " + std::to_string(width_) + " height " + std::to_string(height_),
                       capacity);
}

std::string BmpReader::ErrorText(int code, size_t capacity) const {
  return ReadErrorText(name_, StatusReason(kMessages, code), capacity);
}

}  // namespace vidmetra
