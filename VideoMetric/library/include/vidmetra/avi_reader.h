#pragma once
// The first video stream of an AVI file (through the library's own container parser) or of an AviSynth+ script,
// delivered as stored (RGB24, RGB32, YUY2, YV12) or decoded by libavcodec.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vidmetra/sequence_reader.h"
#include "vidmetra/stream_source.h"

namespace vidmetra {

class AviContainer;
class AvisynthScript;
class DecodedSequence;
class PictureConverter;
class VideoDecoder;

class AviReader : public SequenceReader {
 public:
  enum Status : int {
    kOk = 0,
    kDecompressorError = 1,
    kOpenFailed = 2,
    kNoVideoStream = 3,
    kNullPointer = 4,
    kReadFailed = 5,
    kDecompressFailed = 6,
    kFormatFailed = 7,
    kStartFailed = 8,
    kNoMemory = 9,
    kBadFrameNumber = 10,
    kStreamReadFailed = 11,
    kBadFormat = 12,
    kNoDecompressor = 13,
    kCannotStart = 14,
    kUnsupportedColourSpace = 15,
  };

  AviReader();
  ~AviReader() override;

  // Without `use_script_service` the file is parsed as an AVI file; with it, it is evaluated as an AviSynth+
  // script. `prefer_yv12` asks decoders for YV12, then YUY2, before RGB24.
  int Open(const std::string& name, bool prefer_yv12, bool use_script_service);

  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override;
  int ReadFrame(VideoFrame& frame, int frame_number) override;
  int ReadNextFrame(VideoFrame& frame) override;
  int Close() override;
  std::string Describe(size_t capacity = kTextCapacity) const override;
  std::string ErrorText(int code, size_t capacity = kTextCapacity) const override;
  bool IsBadFrameNumber(int frame_number) const override;
  bool IsAtEnd() const override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return colour_space_; }
  int Rate() const override { return static_cast<int>(info_.rate); }
  int Scale() const override { return static_cast<int>(info_.scale); }
  int FrameCount() const override { return frame_count_; }
  int Position() const override { return static_cast<int>(current_ - first_); }
  int FirstFrameNumber() const override { return static_cast<int>(first_); }
  std::string DecoderName() const override;
  std::string FailureDetail() const override { return detail_; }

  // For tests: where decoding last restarted and how many pictures it decoded since without delivering them.
  int64_t LastRestart() const;
  int64_t PassedOver() const;

 protected:
  size_t RawFrameBytes() const override;
  int MemoryStatus() const override { return kNoMemory; }

 private:
  int AttachStream(const std::string& name, bool use_script_service);
  int ReadFormat();
  int ChoosePath(bool prefer_yv12);
  int RawPath(uint32_t handler, uint32_t compression);
  int StartDecoder(bool prefer_yv12);
  int ReadStored(uint8_t* buffer);
  bool IsShortStoredSample(int64_t sample) const;
  int ReadDecoded(uint8_t* buffer);

  std::unique_ptr<VideoDecoder> decoder_;
  std::unique_ptr<AviContainer> container_;
  std::unique_ptr<AvisynthScript> script_;
  StreamSource* stream_ = nullptr;
  std::unique_ptr<DecodedSequence> sequence_;
  std::unique_ptr<PictureConverter> converter_;
  std::vector<uint8_t> input_format_;
  int colour_space_ = kRgb24;
  bool top_down_ = false;  // stored RGB rows top row first (negative height)
  StreamInfo info_;
  std::string name_;
  std::string detail_;
  int width_ = 0;
  int row_bytes_ = 0;
  int height_ = 0;
  int frame_count_ = 0;
  int64_t first_ = 0;
  int64_t last_ = -1;
  int64_t current_ = 0;
};

// Whether a file's first bytes are an AVI file's: "RIFF", a size, "AVI ".
bool LooksLikeAvi(std::span<const uint8_t> head);

}  // namespace vidmetra
