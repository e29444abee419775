#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vidmetra/video_compressor.h"

struct AVCodec;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace vidmetra {

// How the 0..10000 quality of a compressor choice reaches an encoder.
enum class QualityControl { kNone, kQuantiser, kConstantRateFactor };

// What makes one libavcodec encoder a compressor of the catalogue.
struct EncoderRecipe {
  uint32_t fourcc = 0;            // the FourCC it is stored under in AVI files
  const char* encoder = nullptr;  // libavcodec encoder name
  const char* pixel_format = nullptr;
  QualityControl quality = QualityControl::kNone;
  bool data_rate = false;
  bool full_range = false;  // luma and chroma over 0..255, as JPEG has them
};

// A compressor over a libavcodec encoder: 24-bit bottom-up frames are turned upright and converted to the
// encoder's pixel format once per frame into a frame allocated at Begin. Its state is the encoder's options as
// text ("key=value:key=value"), applied to the codec and its private options.
class VideoEncoder final : public VideoCompressor {
 public:
  VideoEncoder(const EncoderRecipe& recipe, std::string description, const std::string& default_state);
  ~VideoEncoder() override;

  std::string Description() const override { return description_; }
  uint32_t Flags() const override { return kFastTemporalCompress; }
  std::vector<uint8_t> State() const override { return state_; }
  bool SetState(const std::vector<uint8_t>& state) override;
  void SetRateControl(int32_t quality, int32_t data_rate, int32_t scale, int32_t rate) override;
  std::vector<uint8_t> OutputFormat(const BitmapInfoHeader& input) override;
  bool Begin(const BitmapInfoHeader& input) override;
  bool Compress(const uint8_t* frame, int32_t frame_number, bool key_frame_wanted, int32_t quality,
                const uint8_t* previous, CompressedFrame& compressed) override;
  bool Drain(CompressedFrame& compressed) override;
  void End() override;

 private:
  bool OpenCodec(const BitmapInfoHeader& input);
  bool ApplyOptions(AVCodecContext* context) const;
  void ApplyRateControl(AVCodecContext* context) const;
  int FrameQuality(int32_t quality) const;
  bool Receive(CompressedFrame& compressed);

  EncoderRecipe recipe_;
  std::string description_;
  std::vector<uint8_t> state_;
  int32_t quality_ = -1;
  int32_t data_rate_ = 0;
  int32_t scale_ = 1;
  int32_t rate_ = 25;
  int opened_width_ = 0;
  int opened_height_ = 0;
  const AVCodec* codec_ = nullptr;
  AVCodecContext* context_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwsContext* scaler_ = nullptr;
  bool draining_ = false;
};

// Splits "key=value:key=value" into pairs; false for an empty key or a piece without '='.
bool ParseEncoderOptions(const std::string& text, std::vector<std::pair<std::string, std::string>>& options);
// The pairs back as "key=value:key=value".
std::string JoinEncoderOptions(const std::vector<std::pair<std::string, std::string>>& options);

}  // namespace vidmetra
