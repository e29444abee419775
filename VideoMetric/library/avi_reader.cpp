#include "vidmetra/avi_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "vidmetra/avi_container.h"
#include "vidmetra/avisynth_script.h"
#include "vidmetra/bitmap_info_header.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/decoded_sequence.h"
#include "vidmetra/ffmpeg_api.h"
#include "vidmetra/fourcc.h"
#include "vidmetra/picture_converter.h"
#include "vidmetra/video_decoder.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {
namespace {

constexpr std::array<StatusMessage, 16> kMessages = {{
    {AviReader::kOk, "No error occured!"},
    {AviReader::kDecompressorError, "Error in decompressor!"},
    {AviReader::kOpenFailed,
     "Failed to open file! File is missed or corrupted or required codecs are not installed."},
    {AviReader::kNoVideoStream,
     "Failed to open video stream! File is missed or corrupted or required codecs are not installed."},
    {AviReader::kNullPointer, "Null pointer occured!"},
    {AviReader::kReadFailed, "Failed to read frame!"},
    {AviReader::kDecompressFailed, "Failed to decompress frame! Maybe required codecs are not installed."},
    {AviReader::kFormatFailed,
     "Failed to get stream format! File is missed or corrupted or required codecs are not installed."},
    {AviReader::kStartFailed,
     "Failed to start decompress! File is missed or corrupted or required codecs are not installed."},
    {AviReader::kNoMemory, "Not enough memory!"},
    {AviReader::kBadFrameNumber, "Bad frame number occured!"},
    {AviReader::kStreamReadFailed, "Failed ro read from stream! File is missed or corrupted."},
    {AviReader::kBadFormat, "Stream contains bad format data!"},
    {AviReader::kNoDecompressor, "Can't find suitable decompressor!"},
    {AviReader::kCannotStart,
     "Can't start decompressing! File is missed or corrupted or required codecs are not installed."},
    {AviReader::kUnsupportedColourSpace, "This uncompressed avi has unsupported color space!"},
}};

constexpr uint32_t kDib = FourCc("DIB ");
constexpr uint32_t kDibNul = 0x00424944;  // "DIB" and a zero byte
constexpr uint32_t kYv12Code = FourCc("YV12");
constexpr uint32_t kYuy2Code = FourCc("YUY2");

// A frame row of the delivered layout, as the reader's clients address it.
int DeliveredRowBytes(int colour_space, int width) {
  switch (colour_space) {
    case kRgb32: return 4 * width;
    case kYuy2: return 2 * width;
    case kYv12: return (3 * width / 2 + 1) & ~1;
    default: return static_cast<int>(RowBytes(kRgb24, width));
  }
}

int Magnitude(int64_t value) {
  return static_cast<int>(std::min<int64_t>(value < 0 ? -value : value, std::numeric_limits<int>::max()));
}

}  // namespace

bool LooksLikeAvi(std::span<const uint8_t> head) {
  return head.size() >= 12 && std::memcmp(head.data(), "RIFF", 4) == 0 && std::memcmp(head.data() + 8, "AVI ", 4) == 0;
}

AviReader::AviReader() = default;

AviReader::~AviReader() { Close(); }

int AviReader::Open(const std::string& name, bool prefer_yv12, bool use_script_service) {
  Close();
  const int attached = AttachStream(name, use_script_service);
  if (attached != kOk) {
    // The reason is kept for the log; everything else goes.
    std::string detail = detail_;
    Close();
    name_ = name;
    detail_ = std::move(detail);
    return attached;
  }
  name_ = name;
  int status = ReadFormat();
  if (status == kOk) status = ChoosePath(prefer_yv12);
  if (status != kOk) {
    std::string detail = detail_;
    Close();
    name_ = name;
    detail_ = std::move(detail);
  }
  return status;
}

int AviReader::AttachStream(const std::string& name, bool use_script_service) {
  if (use_script_service) {
    script_ = std::make_unique<AvisynthScript>();
    if (!script_->Open(name)) {
      detail_ = "AviSynth+: " + script_->Error();
      return kOpenFailed;
    }
    stream_ = script_->VideoStream();
  } else {
    container_ = std::make_unique<AviContainer>();
    if (!container_->Open(name)) return kOpenFailed;
    stream_ = container_->VideoStream(0);
  }
  return stream_ != nullptr ? kOk : kNoVideoStream;
}

int AviReader::ReadFormat() {
  if (!stream_->GetInfo(info_)) return kFormatFailed;
  const int64_t format_size = stream_->FormatSize();
  if (format_size <= 0) return kFormatFailed;
  input_format_.assign(static_cast<size_t>(format_size), 0);
  if (!stream_->ReadFormat(input_format_.data(), format_size)) return kFormatFailed;

  const BitmapInfoHeader header = BitmapInfoHeader::Parse(input_format_);
  const StreamInfo::Rectangle& frame = info_.frame;
  const int64_t width = header.width != 0 ? header.width : static_cast<int64_t>(frame.right) - frame.left;
  const int64_t height = header.height != 0 ? header.height : static_cast<int64_t>(frame.bottom) - frame.top;
  width_ = Magnitude(width);
  height_ = Magnitude(height);
  top_down_ = header.height < 0;
  frame_count_ = static_cast<int>(std::min<int64_t>(stream_->Length(), std::numeric_limits<int>::max()));
  first_ = stream_->Start();
  last_ = first_ + frame_count_ - 1;
  current_ = first_;
  // Pictures a frame cannot hold are refused as bad format rather than allocated.
  if (width_ == 0 || height_ == 0 || frame_count_ < 1 || width_ > VideoFrame::kMaxDimension ||
      height_ > VideoFrame::kMaxDimension) {
    return kBadFormat;
  }
  return kOk;
}

int AviReader::ChoosePath(bool prefer_yv12) {
  const uint32_t handler = info_.handler;
  const uint32_t compression = BitmapInfoHeader::Parse(input_format_).compression;
  const bool uncompressed = handler == kDib || handler == kDibNul || handler == kYuy2Code ||
                            (handler == 0 && (compression == 0 || compression == kYv12Code));
  int status = kOk;
  if (handler == kYv12Code) {
    colour_space_ = kYv12;
  } else if (uncompressed) {
    status = RawPath(handler, compression);
  } else {
    // YV12 is delivered only where its 2 x 2 chroma blocks and the frame's rows come out whole.
    status = StartDecoder(prefer_yv12 && width_ % 4 == 0 && height_ % 2 == 0);
  }
  row_bytes_ = DeliveredRowBytes(colour_space_, width_);
  return status;
}

int AviReader::RawPath(uint32_t handler, uint32_t compression) {
  if (handler == kYv12Code || compression == kYv12Code) {
    colour_space_ = kYv12;
  } else if (handler == kYuy2Code || compression == kYuy2Code) {
    colour_space_ = kYuy2;
  } else if (handler != 0 && handler != kDib && handler != kDibNul) {
    return kOpenFailed;
  } else {
    const uint16_t bit_count = BitmapInfoHeader::Parse(input_format_).bit_count;
    if (bit_count == 24) {
      colour_space_ = kRgb24;
    } else if (bit_count == 32) {
      colour_space_ = kRgb32;
    } else {
      return kOpenFailed;
    }
  }
  return kOk;
}

int AviReader::StartDecoder(bool prefer_yv12) {
  const uint32_t compression = BitmapInfoHeader::Parse(input_format_).compression;
  decoder_ = VideoDecoder::Find(info_.handler, compression);
  if (!decoder_) {
    detail_ = FfmpegFailure();
    return kNoDecompressor;
  }
  const int start_failed = prefer_yv12 ? kStartFailed : kCannotStart;
  if (!decoder_->Open(input_format_, width_, height_)) {
    detail_ = decoder_->LastError();
    return start_failed;
  }
  sequence_ = std::make_unique<DecodedSequence>(*stream_, *decoder_);
  converter_ = std::make_unique<PictureConverter>();
  // The first picture tells what the decoder produces; it stays decoded for the first read.
  int64_t sample = first_;
  const AVFrame* picture = nullptr;
  DecodedSequence::Outcome outcome = DecodedSequence::Outcome::kDropped;
  while (sample <= last_ && outcome == DecodedSequence::Outcome::kDropped) {
    outcome = sequence_->Frame(sample++, picture);
  }
  if (outcome != DecodedSequence::Outcome::kPicture) {
    detail_ = decoder_->LastError();
    return start_failed;
  }
  colour_space_ = prefer_yv12 ? NativeColourSpace(picture->format) : kRgb24;
  return kOk;
}

int AviReader::ReadNextRaw(uint8_t* buffer) {
  if (IsAtEnd()) return kOk;
  if (buffer == nullptr) return kNullPointer;
  const int status = sequence_ ? ReadDecoded(buffer) : ReadStored(buffer);
  if (status == kOk) ++current_;
  return status;
}

int AviReader::ReadStored(uint8_t* buffer) {
  const int64_t capacity = static_cast<int64_t>(height_) * row_bytes_;
  int64_t read = 0;
  // A sample shorter than a frame would leave part of an earlier frame in the buffer.
  if (!stream_->Read(current_, buffer, capacity, read) ||
      read < TightFrameBytes(colour_space_, width_, height_)) {
    return kReadFailed;
  }
  if (top_down_ && IsRgbLike(colour_space_)) {
    // Delivered RGB rows are bottom row first, as stored by almost every file.
    std::vector<uint8_t> row(static_cast<size_t>(row_bytes_));
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
      uint8_t* a = buffer + static_cast<ptrdiff_t>(top) * row_bytes_;
      uint8_t* b = buffer + static_cast<ptrdiff_t>(bottom) * row_bytes_;
      std::memcpy(row.data(), a, row.size());
      std::memcpy(a, b, row.size());
      std::memcpy(b, row.data(), row.size());
    }
  }
  return kOk;
}

int AviReader::ReadDecoded(uint8_t* buffer) {
  const AVFrame* picture = nullptr;
  switch (sequence_->Frame(current_, picture)) {
    case DecodedSequence::Outcome::kPicture:
      return converter_->Write(*picture, colour_space_, width_, height_, buffer) ? kOk : kDecompressFailed;
    case DecodedSequence::Outcome::kDropped:
      // A dropped frame reads as black-and-zero and is passed, so that reading goes on with the next one.
      std::memset(buffer, 0, RawFrameBytes());
      ++current_;
      return kReadFailed;
    case DecodedSequence::Outcome::kReadFailed:
      return kReadFailed;
    case DecodedSequence::Outcome::kDecodeFailed:
      break;
  }
  return kDecompressFailed;
}

int AviReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return kBadFrameNumber;
  current_ = frame_number;
  return ReadNextRaw(buffer);
}

// Frames that cannot be read are answered before the frame is formatted, so nothing is allocated for them: a header
// claiming a huge picture in a small file costs no memory.
int AviReader::ReadFrame(VideoFrame& frame, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return kBadFrameNumber;
  if (IsShortStoredSample(frame_number)) return kReadFailed;
  return SequenceReader::ReadFrame(frame, frame_number);
}

int AviReader::ReadNextFrame(VideoFrame& frame) {
  if (IsAtEnd()) return kOk;
  if (IsShortStoredSample(current_)) return kReadFailed;
  return SequenceReader::ReadNextFrame(frame);
}

bool AviReader::IsShortStoredSample(int64_t sample) const {
  if (sequence_) return false;
  int64_t size = 0;
  stream_->Read(sample, nullptr, 0, size);
  return size < TightFrameBytes(colour_space_, width_, height_);
}

size_t AviReader::RawFrameBytes() const { return static_cast<size_t>(height_) * static_cast<size_t>(row_bytes_); }

int AviReader::Close() {
  sequence_.reset();
  converter_.reset();
  decoder_.reset();
  stream_ = nullptr;
  container_.reset();
  script_.reset();
  input_format_.clear();
  ReleaseFrameBuffer();
  info_ = StreamInfo{};
  name_.clear();
  detail_.clear();
  colour_space_ = kRgb24;
  top_down_ = false;
  width_ = row_bytes_ = height_ = frame_count_ = 0;
  first_ = current_ = 0;
  last_ = -1;
  return kOk;
}

std::string AviReader::Describe(size_t capacity) const {
  std::string text = "file \"" + name_ + "\", ";
  if (const char* label = ColourSpaceLabel(colour_space_); label != nullptr && *label != '\0') {
    text.append("reading ").append(label).append(",");
  }
  text += decoder_ ? " decompressor " + DecoderName() : std::string(" raw stream");
  return CutToCapacity(text, capacity);
}

std::string AviReader::ErrorText(int code, size_t capacity) const {
  return ReadErrorText(name_, StatusReason(kMessages, code), capacity);
}

std::string AviReader::DecoderName() const { return decoder_ ? decoder_->LongName() : std::string(); }

bool AviReader::IsBadFrameNumber(int frame_number) const { return frame_number > last_ || frame_number < first_; }

bool AviReader::IsAtEnd() const { return current_ > last_ || current_ < first_; }

int64_t AviReader::LastRestart() const { return sequence_ ? sequence_->LastRestart() : -1; }

int64_t AviReader::PassedOver() const { return sequence_ ? sequence_->PassedOver() : 0; }

}  // namespace vidmetra
