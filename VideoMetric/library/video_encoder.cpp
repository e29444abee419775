#include "vidmetra/video_encoder.h"

#include <algorithm>
#include <cstdlib>

#include "vidmetra/colour_space.h"
#include "vidmetra/ffmpeg_api.h"

namespace vidmetra {
namespace {

constexpr int32_t kBestQuality = 10000;
constexpr int kWorstQuantiser = 31;
constexpr double kWorstRateFactor = 51.0;

bool QualityGiven(int32_t quality) { return quality >= 0 && quality <= kBestQuality; }

// Quality 10000 is the finest quantiser (1), quality 0 the coarsest (31).
int Quantiser(int32_t quality) {
  return kWorstQuantiser - (quality * (kWorstQuantiser - 1) + kBestQuality / 2) / kBestQuality;
}

std::vector<uint8_t> WithFormatBytes(const BitmapInfoHeader& header, const uint8_t* extra, int extra_size) {
  const auto bytes = header.Bytes();
  const size_t extra_bytes = extra != nullptr && extra_size > 0 ? static_cast<size_t>(extra_size) : 0;
  std::vector<uint8_t> format(bytes.size() + extra_bytes);
  std::copy(bytes.begin(), bytes.end(), format.begin());
  if (extra_bytes > 0) std::copy_n(extra, extra_bytes, format.begin() + static_cast<ptrdiff_t>(bytes.size()));
  return format;
}

}  // namespace

bool ParseEncoderOptions(const std::string& text, std::vector<std::pair<std::string, std::string>>& options) {
  options.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(':', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, end - start);
    const size_t equals = piece.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    options.emplace_back(piece.substr(0, equals), piece.substr(equals + 1));
    start = end + 1;
  }
  return true;
}

std::string JoinEncoderOptions(const std::vector<std::pair<std::string, std::string>>& options) {
  std::string text;
  for (const auto& [key, value] : options) text += (text.empty() ? "" : ":") + key + "=" + value;
  return text;
}

VideoEncoder::VideoEncoder(const EncoderRecipe& recipe, std::string description, const std::string& default_state)
    : recipe_(recipe), description_(std::move(description)), state_(default_state.begin(), default_state.end()) {}

VideoEncoder::~VideoEncoder() { End(); }

bool VideoEncoder::SetState(const std::vector<uint8_t>& state) {
  std::vector<std::pair<std::string, std::string>> options;
  if (!ParseEncoderOptions(std::string(state.begin(), state.end()), options)) return false;
  // Options are tried on a scratch context so that a state naming an option the encoder lacks is refused now,
  // not when the first file is written.
  const FfmpegApi* ff = LoadFfmpeg();
  const AVCodec* codec = ff != nullptr ? ff->avcodec_find_encoder_by_name(recipe_.encoder) : nullptr;
  AVCodecContext* probe = codec ? ff->avcodec_alloc_context3(codec) : nullptr;
  if (probe == nullptr) return false;
  state_ = state;
  const bool applied = ApplyOptions(probe);
  ff->avcodec_free_context(&probe);
  if (!applied) state_.clear();
  return applied;
}

void VideoEncoder::SetRateControl(int32_t quality, int32_t data_rate, int32_t scale, int32_t rate) {
  quality_ = quality;
  data_rate_ = data_rate;
  if (scale >= 1 && rate >= 1) {
    scale_ = scale;
    rate_ = rate;
  }
}

bool VideoEncoder::ApplyOptions(AVCodecContext* context) const {
  std::vector<std::pair<std::string, std::string>> options;
  if (!ParseEncoderOptions(std::string(state_.begin(), state_.end()), options)) return false;
  for (const auto& [key, value] : options) {
    if (Ffmpeg().av_opt_set(context, key.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN) < 0) return false;
  }
  return true;
}

void VideoEncoder::ApplyRateControl(AVCodecContext* context) const {
  if (recipe_.data_rate && data_rate_ > 0) {
    context->bit_rate = static_cast<int64_t>(data_rate_) * 1000;
    return;
  }
  if (!QualityGiven(quality_)) return;
  if (recipe_.quality == QualityControl::kQuantiser) {
    context->flags |= AV_CODEC_FLAG_QSCALE;
    context->global_quality = FF_QP2LAMBDA * Quantiser(quality_);
  } else if (recipe_.quality == QualityControl::kConstantRateFactor) {
    const double factor = kWorstRateFactor * (kBestQuality - quality_) / kBestQuality;
    Ffmpeg().av_opt_set_double(context->priv_data, "crf", factor, 0);
  }
}

int VideoEncoder::FrameQuality(int32_t quality) const {
  if (recipe_.quality != QualityControl::kQuantiser || !(context_->flags & AV_CODEC_FLAG_QSCALE)) return 0;
  return FF_QP2LAMBDA * Quantiser(QualityGiven(quality) ? quality : quality_);
}

bool VideoEncoder::OpenCodec(const BitmapInfoHeader& input) {
  const int height = std::abs(input.height);
  if (context_ != nullptr && opened_width_ == input.width && opened_height_ == height) return true;
  End();
  if (!FfmpegAvailable()) return false;
  const FfmpegApi& ff = Ffmpeg();
  const AVPixelFormat pixel_format = ff.av_get_pix_fmt(recipe_.pixel_format);
  codec_ = ff.avcodec_find_encoder_by_name(recipe_.encoder);
  if (codec_ == nullptr || pixel_format == AV_PIX_FMT_NONE || input.width < 1 || height < 1) return false;
  context_ = ff.avcodec_alloc_context3(codec_);
  if (context_ == nullptr) return false;
  context_->thread_count = 0;  // as many as the encoder can use
  // The stored options come first: the picture size and rate below must hold whatever they say, since the
  // frames handed in have exactly the input's size.
  if (!ApplyOptions(context_)) {
    End();
    return false;
  }
  context_->width = input.width;
  context_->height = height;
  if (context_->pix_fmt == AV_PIX_FMT_NONE) context_->pix_fmt = pixel_format;
  if (recipe_.full_range) context_->color_range = AVCOL_RANGE_JPEG;
  context_->time_base = AVRational{scale_, rate_};
  context_->framerate = AVRational{rate_, scale_};
  ApplyRateControl(context_);
  if (ff.avcodec_open2(context_, codec_, nullptr) < 0) {
    End();
    return false;
  }
  opened_width_ = input.width;
  opened_height_ = height;
  return true;
}

std::vector<uint8_t> VideoEncoder::OutputFormat(const BitmapInfoHeader& input) {
  if (input.bit_count != 24 || input.compression != 0 || !OpenCodec(input)) return {};
  BitmapInfoHeader output = input;
  output.compression = recipe_.fourcc;
  output.bit_count = static_cast<uint16_t>(context_->bits_per_coded_sample > 0 ? context_->bits_per_coded_sample : 24);
  return WithFormatBytes(output, context_->extradata, context_->extradata_size);
}

bool VideoEncoder::Begin(const BitmapInfoHeader& input) {
  if (input.bit_count != 24 || !OpenCodec(input)) return false;
  const FfmpegApi& ff = Ffmpeg();
  frame_ = ff.av_frame_alloc();
  packet_ = ff.av_packet_alloc();
  if (frame_ == nullptr || packet_ == nullptr) return false;
  frame_->format = context_->pix_fmt;
  frame_->width = context_->width;
  frame_->height = context_->height;
  if (ff.av_frame_get_buffer(frame_, 0) < 0) return false;
  scaler_ = ff.sws_getContext(context_->width, context_->height, AV_PIX_FMT_BGR24, context_->width, context_->height,
                              context_->pix_fmt, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (scaler_ == nullptr) return false;
  if (recipe_.full_range) {
    // JPEG pictures use the full 0..255 range.
    const int* coefficients = ff.sws_getCoefficients(SWS_CS_ITU601);
    ff.sws_setColorspaceDetails(scaler_, coefficients, 1, coefficients, 1, 0, 1 << 16, 1 << 16);
  }
  draining_ = false;
  return true;
}

bool VideoEncoder::Compress(const uint8_t* frame, int32_t frame_number, bool key_frame_wanted, int32_t quality,
                            const uint8_t*, CompressedFrame& compressed) {
  compressed = CompressedFrame{};
  if (scaler_ == nullptr || frame == nullptr || draining_) return false;
  const FfmpegApi& ff = Ffmpeg();
  if (ff.av_frame_make_writable(frame_) < 0) return false;
  // Bottom-up rows are read upwards through a negative stride, turning the picture upright as it converts.
  const int row_bytes = static_cast<int>(RowBytes(kRgb24, context_->width));
  const uint8_t* source[1] = {frame + static_cast<ptrdiff_t>(context_->height - 1) * row_bytes};
  const int source_stride[1] = {-row_bytes};
  ff.sws_scale(scaler_, source, source_stride, 0, context_->height, frame_->data, frame_->linesize);
  frame_->pts = frame_number;
  frame_->pict_type = key_frame_wanted ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
  frame_->quality = FrameQuality(quality);
  if (ff.avcodec_send_frame(context_, frame_) < 0) return false;
  return Receive(compressed);
}

bool VideoEncoder::Receive(CompressedFrame& compressed) {
  const FfmpegApi& ff = Ffmpeg();
  compressed = CompressedFrame{};
  ff.av_packet_unref(packet_);
  const int status = ff.avcodec_receive_packet(context_, packet_);
  if (status == AVERROR(EAGAIN)) return true;
  if (status < 0) return false;
  compressed.data = packet_->data;
  compressed.size = packet_->size;
  compressed.key_frame = (packet_->flags & AV_PKT_FLAG_KEY) != 0;
  return true;
}

bool VideoEncoder::Drain(CompressedFrame& compressed) {
  compressed = CompressedFrame{};
  if (context_ == nullptr || packet_ == nullptr) return false;
  if (!draining_) {
    draining_ = true;
    if (Ffmpeg().avcodec_send_frame(context_, nullptr) < 0) return false;
  }
  return Receive(compressed) && compressed.size > 0;
}

void VideoEncoder::End() {
  // Without FFmpeg nothing was ever allocated.
  if (const FfmpegApi* ff = LoadFfmpeg()) {
    ff->sws_freeContext(scaler_);
    scaler_ = nullptr;
    ff->av_frame_free(&frame_);
    ff->av_packet_free(&packet_);
    ff->avcodec_free_context(&context_);
  }
  opened_width_ = 0;
  opened_height_ = 0;
  draining_ = false;
}

}  // namespace vidmetra
