#include "vidmetra/media_file_reader.h"

#include <array>
#include <cstring>
#include <vector>

#include "vidmetra/colour_space.h"
#include "vidmetra/decoded_sequence.h"
#include "vidmetra/ffmpeg_api.h"
#include "vidmetra/ffmpeg_logging.h"
#include "vidmetra/media_packet_stream.h"
#include "vidmetra/video_decoder.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {
namespace {

constexpr std::array<StatusMessage, 11> kMessages = {{
    {MediaFileReader::kOk, "No error occured!"},
    {MediaFileReader::kOpenFailed, "Failed to open file! File is missed or corrupted or not a video file."},
    {MediaFileReader::kNoVideoStream, "Failed to open video stream! The file holds no video."},
    {MediaFileReader::kNoDecoder, "Can't find suitable decompressor!"},
    {MediaFileReader::kCannotStart, "Can't start decompressing! File is missed or corrupted."},
    {MediaFileReader::kReadFailed, "Failed to read frame!"},
    {MediaFileReader::kDecodeFailed, "Failed to decompress frame!"},
    {MediaFileReader::kBadFrameNumber, "Bad frame number occured!"},
    {MediaFileReader::kNoMemory, "Not enough memory!"},
    {MediaFileReader::kBadFormat, "Stream contains bad format data!"},
    {MediaFileReader::kUnsupportedFormat, "Unsupported pixel format!"},
}};

constexpr std::array<std::string_view, 16> kEndings = {".y4m", ".mp4", ".m4v", ".mkv",  ".webm", ".mov",
                                                       ".ts",  ".mpg", ".ivf", ".264",  ".h264", ".265",
                                                       ".hevc", ".obu", ".mts", ".m2ts"};

// Pictures above this many pixels (8K UHD has 33 million) are refused before anything of their size is allocated.
constexpr int64_t kMaxPixels = int64_t{8192} * 8192;

// A probe score libavformat gives only for what it recognises by content, never for a guess.
constexpr int kConfidentScore = AVPROBE_SCORE_MAX / 2;

}  // namespace

std::span<const std::string_view> MediaFileEndings() { return kEndings; }

bool LooksLikeMedia(std::span<const uint8_t> head) {
  QuietFfmpegLogging();
  const FfmpegApi* ff = LoadFfmpeg();
  if (ff == nullptr) return false;
  std::vector<uint8_t> padded(head.size() + AVPROBE_PADDING_SIZE, 0);
  std::memcpy(padded.data(), head.data(), head.size());
  AVProbeData probe{};
  probe.filename = "";
  probe.buf = padded.data();
  probe.buf_size = static_cast<int>(head.size());
  int score = 0;
  return ff->av_probe_input_format2(&probe, 1, &score) != nullptr && score > kConfidentScore;
}

MediaFileReader::MediaFileReader() = default;

MediaFileReader::~MediaFileReader() { Close(); }

int MediaFileReader::Open(const std::string& name) {
  Close();
  const int status = OpenStream(name);
  if (status != kOk) {
    // The reasons are kept for the log; everything else goes.
    std::string detail = std::move(detail_);
    std::string refusal = std::move(refusal_);
    Close();
    detail_ = std::move(detail);
    refusal_ = std::move(refusal);
  }
  name_ = name;
  return status;
}

int MediaFileReader::OpenStream(const std::string& name) {
  stream_ = std::make_unique<MediaPacketStream>();
  switch (stream_->Open(name)) {
    case MediaPacketStream::Opened::kNotMedia:
      detail_ = FfmpegFailure();
      return kOpenFailed;
    case MediaPacketStream::Opened::kNoVideo: return kNoVideoStream;
    case MediaPacketStream::Opened::kOk: break;
  }
  const AVCodecParameters& parameters = stream_->Parameters();
  const int64_t pixels = static_cast<int64_t>(parameters.width) * parameters.height;
  if (parameters.width <= 0 || parameters.height <= 0 || parameters.width > VideoFrame::kMaxDimension ||
      parameters.height > VideoFrame::kMaxDimension || pixels > kMaxPixels) {
    detail_ = "picture size " + std::to_string(parameters.width) + "x" + std::to_string(parameters.height);
    return kBadFormat;
  }
  int64_t discarded = 0;
  while (discarded < stream_->Length() && stream_->IsDiscarded(discarded)) ++discarded;
  first_sample_ = discarded;
  frame_count_ = static_cast<int>(stream_->Length() - first_sample_);
  if (frame_count_ < 1) {
    detail_ = "no video frames";
    return kBadFormat;
  }
  return StartDecoder();
}

int MediaFileReader::StartDecoder() {
  decoder_ = VideoDecoder::ForStream(stream_->Parameters());
  if (!decoder_) {
    detail_ = Ffmpeg().avcodec_get_name(stream_->Parameters().codec_id);
    return kNoDecoder;
  }
  if (!decoder_->Open(stream_->Parameters())) {
    detail_ = decoder_->LastError();
    return kCannotStart;
  }
  sequence_ = std::make_unique<DecodedSequence>(*stream_, *decoder_);
  // The first picture tells what the decoder produces; it stays decoded for the first read.
  const AVFrame* picture = nullptr;
  if (sequence_->Frame(first_sample_, picture) != DecodedSequence::Outcome::kPicture) {
    detail_ = decoder_->LastError();
    return kCannotStart;
  }
  return ChooseLayout(*picture);
}

int MediaFileReader::ChooseLayout(const AVFrame& picture) {
  const AVPixFmtDescriptor* format = Ffmpeg().av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
  if (format == nullptr) return kCannotStart;
  const int64_t pixels = static_cast<int64_t>(picture.width) * picture.height;
  if (picture.width <= 0 || picture.height <= 0 || picture.width > VideoFrame::kMaxDimension ||
      picture.height > VideoFrame::kMaxDimension || pixels > kMaxPixels) {
    detail_ = "picture size " + std::to_string(picture.width) + "x" + std::to_string(picture.height);
    return kBadFormat;
  }
  if (const int depth = format->comp[0].depth; depth > 8) {
    refusal_ = std::to_string(depth) + "-bit input is not supported yet: " + format->name;
    return kUnsupportedFormat;
  }
  width_ = picture.width;
  height_ = picture.height;
  const bool rgb = (format->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)) != 0;
  if (rgb) {
    colour_space_ = kRgb24;
  } else if (format->nb_components <= 2) {
    colour_space_ = kY;  // grey, with or without alpha
  } else if (format->log2_chroma_w == 1 && format->log2_chroma_h == 1) {
    colour_space_ = kYv12;
  } else if (format->log2_chroma_w == 1 && format->log2_chroma_h == 0) {
    colour_space_ = kYuy2;
  } else {
    // 4:4:4, and the rarer samplings, which only 4:4:4 holds without dropping chroma samples.
    colour_space_ = kYuv;
  }
  return kOk;
}

int MediaFileReader::ReadNextRaw(uint8_t* buffer) {
  if (IsAtEnd()) return kOk;
  if (buffer == nullptr) return kReadFailed;
  const AVFrame* picture = nullptr;
  switch (sequence_->Frame(first_sample_ + current_, picture)) {
    case DecodedSequence::Outcome::kPicture:
      if (!converter_.Write(*picture, colour_space_, width_, height_, buffer)) return kDecodeFailed;
      ++current_;
      return kOk;
    case DecodedSequence::Outcome::kDropped:
    case DecodedSequence::Outcome::kReadFailed:
      return kReadFailed;
    case DecodedSequence::Outcome::kDecodeFailed:
      break;
  }
  return kDecodeFailed;
}

int MediaFileReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return kBadFrameNumber;
  current_ = frame_number;
  return ReadNextRaw(buffer);
}

int MediaFileReader::Close() {
  sequence_.reset();
  decoder_.reset();
  stream_.reset();
  ReleaseFrameBuffer();
  name_.clear();
  detail_.clear();
  refusal_.clear();
  width_ = height_ = colour_space_ = frame_count_ = current_ = 0;
  first_sample_ = 0;
  return kOk;
}

std::string MediaFileReader::Describe(size_t capacity) const {
  std::string text = "file \"" + name_ + "\", ";
  if (const char* label = ColourSpaceLabel(colour_space_); label != nullptr && *label != '\0') {
    text.append("reading ").append(label).append(",");
  }
  if (decoder_) text += " decompressor " + DecoderName();
  if (stream_) text += " in " + stream_->ContainerName();
  if (stream_ && stream_->EndsEarly()) {
    text += ", damaged or cut short after frame " + std::to_string(frame_count_ - 1);
  }
  return CutToCapacity(text, capacity);
}

std::string MediaFileReader::ErrorText(int code, size_t capacity) const {
  const std::string_view reason =
      code == kUnsupportedFormat && !refusal_.empty() ? std::string_view(refusal_) : StatusReason(kMessages, code);
  return ReadErrorText(name_, reason, capacity);
}

int MediaFileReader::Rate() const { return stream_ ? stream_->RateNumerator() : 0; }

int MediaFileReader::Scale() const { return stream_ ? stream_->RateDenominator() : 1; }

std::string MediaFileReader::DecoderName() const { return decoder_ ? decoder_->LongName() : std::string(); }

int64_t MediaFileReader::Rewinds() const { return stream_ ? stream_->Rewinds() : 0; }

}  // namespace vidmetra
