#include "vidmetra/raw_yuv_reader.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>

#include "vidmetra/colour_space.h"

namespace vidmetra {
namespace {

constexpr std::array<StatusMessage, 5> kMessages = {{
    {RawYuvReader::kOk, "No error occured!"},
    {RawYuvReader::kReaderError, "Error in YUV reader!"},
    {RawYuvReader::kOpenFailed, "Failed to open file! File is missed or corrupted."},
    {RawYuvReader::kReadFailed, "Failed to read frame!"},
    {RawYuvReader::kBadFrameNumber, "Bad frame number occured!"},
}};

constexpr int64_t kMaxInt = std::numeric_limits<int32_t>::max();

bool IsRawMode(int colour_space) { return colour_space >= kYuv && colour_space <= kY; }

// Bytes of one frame row of a raw file; 0 for a mode such files cannot hold.
int64_t RawRowBytes(int colour_space, int64_t width) {
  switch (colour_space) {
    case kYuv:
      return 3 * width;
    case kYuy2: case kUyvy:
      return 2 * width;
    case kYv12: case kIyuv:
      return 3 * width / 2;
    case kY:
      return width;
    default:
      return 0;
  }
}

std::filesystem::path PathFromUtf8(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

}  // namespace

int RawYuvReader::Open(const std::string& name, int colour_space, int width, int height) {
  Close();
  const std::filesystem::path path = PathFromUtf8(name);
  std::error_code error;
  // A folder opens like a file on some systems and then claims an absurd size.
  if (std::filesystem::is_directory(path, error)) return kOpenFailed;
  file_.open(path, std::ios::binary);
  if (!file_.is_open()) return kOpenFailed;
  name_ = name;
  colour_space_ = colour_space;
  width_ = width;
  height_ = height;
  const int64_t row_bytes = width > 0 && height > 0 ? RawRowBytes(colour_space, width) : 0;
  // A frame size beyond 32 bits cannot be addressed by the reader's fields, whatever the file holds.
  const int64_t frame_size = row_bytes <= kMaxInt ? row_bytes * height : 0;
  file_.seekg(0, std::ios::end);
  const std::streamoff file_size = file_.tellg();
  if (frame_size <= 0 || frame_size > kMaxInt || file_size < 0 || !file_.seekg(0)) {
    Close();
    name_ = name;
    colour_space_ = colour_space;
    return kOpenFailed;
  }
  frame_size_ = static_cast<int>(frame_size);
  frame_count_ = static_cast<int>(std::min<int64_t>(file_size / frame_size, kMaxInt));
  next_frame_ = 0;
  seek_count_ = 0;
  return kOk;
}

int RawYuvReader::ReadNextRaw(uint8_t* buffer) {
  if (IsAtEnd()) return kOk;
  ++next_frame_;
  file_.read(reinterpret_cast<char*>(buffer), frame_size_);
  if (file_.gcount() != frame_size_) {
    // A file that shrank under the reader: the stream is made usable again for later seeks.
    file_.clear();
    return kReadFailed;
  }
  return kOk;
}

int RawYuvReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return kBadFrameNumber;
  if (frame_number != next_frame_) {
    ++seek_count_;
    if (!file_.seekg(static_cast<std::streamoff>(frame_number) * frame_size_)) {
      file_.clear();
      file_.seekg(0);
      next_frame_ = 0;
      return kReadFailed;
    }
  }
  next_frame_ = frame_number;
  return ReadNextRaw(buffer);
}

// Frames that cannot be read are answered before the frame is formatted, so nothing is allocated for them:
// a frame larger than the whole file never costs its size in memory.
int RawYuvReader::ReadFrame(VideoFrame& frame, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return kBadFrameNumber;
  return SequenceReader::ReadFrame(frame, frame_number);
}

int RawYuvReader::ReadNextFrame(VideoFrame& frame) {
  if (IsAtEnd()) return kOk;
  return SequenceReader::ReadNextFrame(frame);
}

int RawYuvReader::Close() {
  if (file_.is_open()) file_.close();
  file_.clear();
  name_.clear();
  ReleaseFrameBuffer();
  frame_size_ = width_ = height_ = 0;
  // Without a file nothing can be read, so no frame may look readable either.
  frame_count_ = next_frame_ = 0;
  return kOk;
}

std::string RawYuvReader::Describe(size_t capacity) const {
  const char* label = IsRawMode(colour_space_) ? ColourSpaceLabel(colour_space_) : "unc";
  return CutToCapacity("file \"" + name_ + "\" width " + std::to_string(width_) + " height " +
                           std::to_string(height_) + " colorspace " + label,
                       capacity);
}

std::string RawYuvReader::ErrorText(int code, size_t capacity) const {
  return ReadErrorText(name_, StatusReason(kMessages, code), capacity);
}

bool RawYuvReader::IsBadFrameNumber(int frame_number) const {
  return frame_number < 0 || frame_number >= frame_count_;
}

bool RawYuvReader::IsAtEnd() const { return next_frame_ >= frame_count_; }

}  // namespace vidmetra
