#pragma once
// The decompressor side of the codec service: one libavcodec decoder, found by the four-character codes of an AVI
// video stream or by a demuxed stream's codec parameters, fed samples in decode order and handing out pictures in
// display order.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct AVCodec;
struct AVCodecContext;
struct AVCodecParameters;
struct AVFrame;
struct AVPacket;

namespace vidmetra {

class VideoDecoder {
 public:
  enum class Received { kPicture, kNeedsInput, kEnd, kError };

  // The decoder for a stream's handler code, else for its compression code, through libavformat's table of RIFF
  // video codes; null when libavcodec has none for either.
  static std::unique_ptr<VideoDecoder> Find(uint32_t handler, uint32_t compression);
  // The decoder for a stream libavformat demuxed; null when libavcodec has none for its codec.
  static std::unique_ptr<VideoDecoder> ForStream(const AVCodecParameters& parameters);
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  // `format` is the stream's format record: a bitmap information header, then the decoder's own setup bytes.
  // Pictures larger than width x height are refused by the decoder.
  bool Open(std::span<const uint8_t> format, int width, int height);
  // Opens with the stream's own parameters (size, setup bytes, pixel format).
  bool Open(const AVCodecParameters& parameters);

  // Sends one sample; `data` must be followed by kInputPadding readable bytes. The sample number travels with it
  // and comes back on the picture it decodes to. A null `data` ends the stream: the held-back pictures follow.
  bool Send(const uint8_t* data, size_t size, int64_t sample);
  Received Receive(AVFrame* picture);
  // Forgets everything sent, to start again at a key frame.
  void Flush();

  // The decoder's descriptive name, e.g. "H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10".
  const char* LongName() const;
  // How many pictures the decoder holds back to put them in display order (0 for streams without B-frames).
  int ReorderDepth() const;
  // libavcodec's reason for the last failure, if any.
  const std::string& LastError() const { return last_error_; }

  static constexpr size_t kInputPadding = 64;

 private:
  explicit VideoDecoder(const AVCodec* codec, uint32_t tag) : codec_(codec), tag_(tag) {}
  bool Allocate();
  // Bounds the picture size, sets the thread count and opens the decoder.
  bool Start(int width, int height);
  void NoteError(int code);

  const AVCodec* codec_;
  uint32_t tag_;
  AVCodecContext* context_ = nullptr;
  AVPacket* packet_ = nullptr;
  std::string last_error_;
};

}  // namespace vidmetra
