#include "vidmetra/avi_writer.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "vidmetra/colour_space.h"
#include "vidmetra/compressor_catalogue.h"

namespace vidmetra {
namespace {

// "DIB" and a zero byte: the handler of an uncompressed video stream.
constexpr uint32_t kUncompressedHandler = FourCc("DIB ") & 0x00FFFFFF;
// A copied sample larger than this is not copied; no real audio chunk comes near it.
constexpr int64_t kMaxSecondarySample = int64_t{64} << 20;

constexpr StatusMessage kMessages[] = {
    {0, "No error occured!"},
    {1, "Error in compressor!"},
    {2, "Failed to create file!"},
    {3, "Failed to create stream in file!"},
    {4, "Failed to compress frame!"},
    {5, "Failed to get stream format!"},
    {6, "Failed to start compression!"},
    {7, "Not enough memory!"},
    {8, "Bad frame number occured!"},
    {9, "Failed to write to stream!"},
    {10, "Null poiter occured!"},
};

// The largest sample of the stream, so that copying never meets one its buffer cannot hold.
int64_t LargestSample(StreamSource& source) {
  int64_t largest = 0;
  for (int64_t sample = source.Start(); sample <= source.End(); ++sample) {
    int64_t size = 0;
    source.Read(sample, nullptr, 0, size);
    if (size <= kMaxSecondarySample) largest = std::max(largest, size);
  }
  return largest;
}

}  // namespace

AviWriter::AviWriter(int width, int height, int scale, int rate, StreamSource* secondary,
                     const CompressorSettings& settings)
    : secondary_source_(secondary), settings_(settings), input_format_(Rgb24Format(width, height)) {
  video_info_.type = FourCc("vids");
  video_info_.scale = static_cast<uint32_t>(scale);
  video_info_.rate = static_cast<uint32_t>(rate);
  video_info_.frame = StreamInfo::Rectangle{0, 0, width, height};
  compressor_ = CompressorCatalogue::Instance().Open(settings_);
  if (compressor_) {
    compressor_->SetRateControl(settings_.quality, settings_.data_rate, scale, rate);
    output_format_ = compressor_->OutputFormat(input_format_);
    video_info_.handler = settings_.fcc_handler;
  } else {
    video_info_.handler = kUncompressedHandler;
  }
}

int AviWriter::Open(const std::string& name) {
  // Named from the start, so that the text of a failed open says which file it was.
  name_ = name;
  if (!muxer_.Create(name)) return kCreateFailed;
  int status = OpenStreams();
  if (status == kOk) status = BeginCompression();
  if (status == kOk) status = AllocateBuffers();
  if (status != kOk) {
    // A failed open leaves no half-made file behind.
    muxer_.Close();
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
    return status;
  }
  next_frame_ = video_info_.start;
  skipped_ = 0;
  last_compressed_size_ = 0;
  return kOk;
}

int AviWriter::OpenStreams() {
  const int video = muxer_.AddStream(video_info_, kAviStreamName);
  if (video < 0) return kStreamFailed;
  const auto input_bytes = input_format_.Bytes();
  const bool formatted = compressor_ ? !output_format_.empty() &&
                                           muxer_.SetFormat(video, output_format_.data(), output_format_.size())
                                     : muxer_.SetFormat(video, input_bytes.data(), input_bytes.size());
  if (!formatted) return kFormatFailed;
  if (secondary_source_ != nullptr) {
    if (const int status = OpenSecondaryStream(); status != kOk) return status;
  }
  width_ = std::abs(video_info_.frame.right - video_info_.frame.left);
  height_ = std::abs(video_info_.frame.bottom - video_info_.frame.top);
  row_bytes_ = RowBytes(kRgb24, width_);
  return muxer_.Start() ? kOk : kStreamFailed;
}

int AviWriter::OpenSecondaryStream() {
  StreamInfo info;
  const int64_t format_size = secondary_source_->FormatSize();
  if (!secondary_source_->GetInfo(info) || format_size < 0) return kFormatFailed;
  std::vector<uint8_t> format(static_cast<size_t>(format_size));
  if (!secondary_source_->ReadFormat(format.data(), format_size)) return kFormatFailed;
  secondary_stream_ = muxer_.AddStream(info, "");
  if (secondary_stream_ < 0) return kStreamFailed;
  return muxer_.SetFormat(secondary_stream_, format.data(), format.size()) ? kOk : kFormatFailed;
}

int AviWriter::BeginCompression() {
  if (!compressor_) return kOk;
  if (!(compressor_->Flags() & VideoCompressor::kFastTemporalCompress) &&
      previous_frame_.Ensure(static_cast<size_t>(row_bytes_ * height_)) == nullptr) {
    return kNoMemory;
  }
  return compressor_->Begin(input_format_) ? kOk : kStartFailed;
}

int AviWriter::AllocateBuffers() {
  const auto frame_bytes = static_cast<size_t>(row_bytes_ * height_);
  if (input_frame_.Ensure(frame_bytes) == nullptr) return kNoMemory;
  if (secondary_stream_ >= 0) {
    const auto largest = static_cast<size_t>(LargestSample(*secondary_source_));
    if (secondary_sample_.Ensure(std::max(frame_bytes, largest)) == nullptr) return kNoMemory;
  }
  return kOk;
}

int AviWriter::WriteRaw(const uint8_t* buffer) {
  if (next_frame_ < 0) return kBadFrameNumber;
  if (buffer == nullptr) return kNullPointer;
  if (compressor_) {
    if (const int status = WriteCompressed(buffer); status != kOk) return status;
  } else if (!muxer_.WriteSample(0, next_frame_, buffer, row_bytes_ * height_, true)) {
    return kWriteFailed;
  }
  if (const int status = CopySecondarySample(); status != kOk) return status;
  ++next_frame_;
  return kOk;
}

int AviWriter::WriteCompressed(const uint8_t* buffer) {
  const uint8_t* previous = previous_frame_.data() != nullptr && next_frame_ != 0 ? previous_frame_.data() : nullptr;
  CompressedFrame compressed;
  if (!compressor_->Compress(buffer, static_cast<int32_t>(next_frame_), next_frame_ == 0, settings_.quality, previous,
                             compressed)) {
    return kCompressFailed;
  }
  if (previous_frame_.data() != nullptr) std::copy_n(buffer, row_bytes_ * height_, previous_frame_.data());
  const int64_t previous_size = last_compressed_size_;
  last_compressed_size_ = compressed.size;
  // A compressor's 1-byte frame stands for the frame after it, which is therefore not stored; a frame the
  // compressor still holds back is stored when it comes out. Either way the samples stay consecutive.
  if (previous_size == 1 || compressed.size == 0) {
    --skipped_;
    return kOk;
  }
  return muxer_.WriteSample(0, next_frame_ + skipped_, compressed.data, compressed.size, compressed.key_frame)
             ? kOk
             : kWriteFailed;
}

int AviWriter::CopySecondarySample() {
  if (secondary_stream_ < 0) return kOk;
  int64_t bytes = 0;
  if (!secondary_source_->Read(next_frame_, secondary_sample_.data(),
                               static_cast<int64_t>(secondary_sample_.capacity()), bytes)) {
    return kOk;
  }
  return muxer_.WriteSample(secondary_stream_, next_frame_, secondary_sample_.data(), bytes, false) ? kOk
                                                                                                   : kWriteFailed;
}

int AviWriter::WriteFrame(const VideoFrame& frame) {
  // Only a 24-bit picture of the writer's size has the bytes a sample takes.
  if (frame.height() != height_ || frame.width() != width_ || frame.colour_space() != kRgb24 || !frame.HasPixels()) {
    return kNullPointer;
  }
  if (frame.alloc_width() == width_ && frame.alloc_height() == height_) return WriteRaw(frame.data());
  if (input_frame_.data() == nullptr) return kBadFrameNumber;
  frame.ExportTight(input_frame_.data());
  return WriteRaw(input_frame_.data());
}

bool AviWriter::DrainCompressor() {
  CompressedFrame compressed;
  while (compressor_->Drain(compressed)) {
    if (!muxer_.WriteSample(0, next_frame_ + skipped_, compressed.data, compressed.size, compressed.key_frame)) {
      return false;
    }
    ++skipped_;
  }
  return true;
}

int AviWriter::Close() {
  bool finished = true;
  if (compressor_) {
    if (next_frame_ >= 0) finished = DrainCompressor();
    compressor_->End();
    compressor_.reset();
  }
  finished = muxer_.Close() && finished;
  previous_frame_.Release();
  input_frame_.Release();
  secondary_sample_.Release();
  output_format_.clear();
  video_info_ = StreamInfo{};
  settings_ = CompressorSettings{};
  secondary_stream_ = -1;
  next_frame_ = -1;
  return finished ? kOk : kWriteFailed;
}

std::string AviWriter::Describe(size_t capacity) const {
  const std::string compressor = compressor_ ? compressor_->Description() : "uncompressed";
  return CutToCapacity("file \"" + name_ + "\" decompressor " + compressor, capacity);
}

std::string AviWriter::ErrorText(int code, size_t capacity) const {
  return WriteErrorText(name_, StatusReason(kMessages, code), capacity);
}

std::unique_ptr<AviWriter> CreateAviWriter(const std::string& name, int width, int height, int scale, int rate,
                                           StreamSource* secondary_source, const CompressorSettings& compressor) {
  if (width < 1 || height < 1 || scale < 1 || rate < 1) return nullptr;
  auto writer = std::make_unique<AviWriter>(width, height, scale, rate, secondary_source, compressor);
  if (writer->Open(name) != AviWriter::kOk) return nullptr;
  return writer;
}

std::unique_ptr<AviWriter> CreateAviWriter(const std::string& name, int width, int height, int scale, int rate,
                                           StreamSource* secondary_source, CompressorChooser& chooser) {
  if (width < 1 || height < 1 || scale < 1 || rate < 1) return nullptr;
  CompressorSettings settings;
  ChooseCompressor(chooser, settings, Rgb24Format(width, height));
  return CreateAviWriter(name, width, height, scale, rate, secondary_source, settings);
}

}  // namespace vidmetra
