#pragma once
// The video of any file libavformat reads (Y4M, MP4, MKV, WebM, MOV, MPEG-TS, IVF, Annex-B and AV1 bitstreams),
// decoded by libavcodec. Frame n is the n-th picture in presentation order, counted from the packets, never
// computed from timestamps. Pictures are delivered in the layout that loses nothing: 8-bit 4:2:0 as YV12, 4:2:2 as
// YUY2, 4:4:4 as YUV, grey as Y, RGB as RGB24; full-range pictures keep their sample values. Deeper samples are
// refused rather than reduced.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "vidmetra/picture_converter.h"
#include "vidmetra/sequence_reader.h"

namespace vidmetra {

class DecodedSequence;
class MediaPacketStream;
class VideoDecoder;

class MediaFileReader : public SequenceReader {
 public:
  enum Status : int {
    kOk = 0,
    kOpenFailed = 1,
    kNoVideoStream = 2,
    kNoDecoder = 3,
    kCannotStart = 4,
    kReadFailed = 5,
    kDecodeFailed = 6,
    kBadFrameNumber = 7,
    kNoMemory = 8,
    kBadFormat = 9,
    kUnsupportedFormat = 10,
  };

  MediaFileReader();
  ~MediaFileReader() override;

  int Open(const std::string& name);

  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override;
  int Close() override;
  std::string Describe(size_t capacity = kTextCapacity) const override;
  std::string ErrorText(int code, size_t capacity = kTextCapacity) const override;
  bool IsBadFrameNumber(int frame_number) const override { return frame_number < 0 || frame_number >= frame_count_; }
  bool IsAtEnd() const override { return current_ >= frame_count_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return colour_space_; }
  int Rate() const override;
  int Scale() const override;
  int FrameCount() const override { return frame_count_; }
  int Position() const override { return current_; }
  std::string DecoderName() const override;
  std::string FailureDetail() const override { return detail_; }

  // For tests: how often reading started over from the beginning of the file.
  int64_t Rewinds() const;

 protected:
  int MemoryStatus() const override { return kNoMemory; }

 private:
  int OpenStream(const std::string& name);
  int StartDecoder();
  int ChooseLayout(const struct AVFrame& picture);

  std::unique_ptr<MediaPacketStream> stream_;
  std::unique_ptr<VideoDecoder> decoder_;
  std::unique_ptr<DecodedSequence> sequence_;
  PictureConverter converter_{PictureConverter::Range::kKeep};
  std::string name_;
  std::string detail_;
  std::string refusal_;  // why the pixel format is refused, shown as the reason of kUnsupportedFormat
  int width_ = 0;
  int height_ = 0;
  int colour_space_ = 0;
  int frame_count_ = 0;
  int current_ = 0;
  int64_t first_sample_ = 0;  // the packet of frame 0: packets an edit list discards come before it
};

// File endings read through libavformat, with their dot, in the order the open-file dialog lists them.
std::span<const std::string_view> MediaFileEndings();

// Whether libavformat recognises a file's first bytes as a container or bitstream with confidence.
bool LooksLikeMedia(std::span<const uint8_t> head);

}  // namespace vidmetra
