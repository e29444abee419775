#include "vidmetra/video_decoder.h"

#include "vidmetra/bitmap_info_header.h"
#include "vidmetra/decoder_threads.h"
#include "vidmetra/ffmpeg_api.h"
#include "vidmetra/ffmpeg_logging.h"
#include "vidmetra/riff_codec_tags.h"

namespace vidmetra {
namespace {

static_assert(VideoDecoder::kInputPadding >= AV_INPUT_BUFFER_PADDING_SIZE);

constexpr int64_t kCodedMargin = 256;

const AVCodec* DecoderForTag(uint32_t tag) {
  // The table maps the code 0 to raw video; a stream without a code is not an uncompressed one here.
  if (tag == 0) return nullptr;
  const AVCodecID id = VideoCodecForFourCc(tag);
  return id == AV_CODEC_ID_NONE ? nullptr : Ffmpeg().avcodec_find_decoder(id);
}

}  // namespace

std::unique_ptr<VideoDecoder> VideoDecoder::Find(uint32_t handler, uint32_t compression) {
  QuietFfmpegLogging();
  if (!FfmpegAvailable()) return nullptr;
  if (const AVCodec* codec = DecoderForTag(handler)) {
    return std::unique_ptr<VideoDecoder>(new VideoDecoder(codec, compression != 0 ? compression : handler));
  }
  if (const AVCodec* codec = DecoderForTag(compression)) {
    return std::unique_ptr<VideoDecoder>(new VideoDecoder(codec, compression));
  }
  return nullptr;
}

std::unique_ptr<VideoDecoder> VideoDecoder::ForStream(const AVCodecParameters& parameters) {
  QuietFfmpegLogging();
  if (!FfmpegAvailable()) return nullptr;
  const AVCodec* codec = Ffmpeg().avcodec_find_decoder(parameters.codec_id);
  if (codec == nullptr) return nullptr;
  return std::unique_ptr<VideoDecoder>(new VideoDecoder(codec, parameters.codec_tag));
}

VideoDecoder::~VideoDecoder() {
  Ffmpeg().av_packet_free(&packet_);
  Ffmpeg().avcodec_free_context(&context_);
}

bool VideoDecoder::Allocate() {
  context_ = Ffmpeg().avcodec_alloc_context3(codec_);
  packet_ = Ffmpeg().av_packet_alloc();
  return context_ != nullptr && packet_ != nullptr;
}

bool VideoDecoder::Open(std::span<const uint8_t> format, int width, int height) {
  if (!Allocate()) return false;
  const BitmapInfoHeader header = BitmapInfoHeader::Parse(format);
  context_->codec_tag = tag_;
  context_->bits_per_coded_sample = header.bit_count;
  if (format.size() > BitmapInfoHeader::kBytes) {
    const size_t extra = format.size() - BitmapInfoHeader::kBytes;
    context_->extradata = static_cast<uint8_t*>(Ffmpeg().av_mallocz(extra + AV_INPUT_BUFFER_PADDING_SIZE));
    if (context_->extradata == nullptr) return false;
    std::copy(format.begin() + BitmapInfoHeader::kBytes, format.end(), context_->extradata);
    context_->extradata_size = static_cast<int>(extra);
  }
  return Start(width, height);
}

bool VideoDecoder::Open(const AVCodecParameters& parameters) {
  if (!Allocate()) return false;
  if (const int result = Ffmpeg().avcodec_parameters_to_context(context_, &parameters); result < 0) {
    NoteError(result);
    return false;
  }
  // Sample numbers travel as timestamps; the container's own time base plays no part.
  context_->pkt_timebase = AVRational{1, 1};
  return Start(parameters.width, parameters.height);
}

bool VideoDecoder::Start(int width, int height) {
  context_->width = width;
  context_->height = height;
  // A damaged stream may announce a larger picture than its header; it is refused rather than allocated. Decoders
  // allocate whole macroblocks with edges around them and scratch pictures of their own, hence the margins.
  context_->max_pixels = 4 * (static_cast<int64_t>(width) + kCodedMargin) * (static_cast<int64_t>(height) + kCodedMargin);
  context_->thread_count = DecoderThreadCount();
  context_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  const int result = Ffmpeg().avcodec_open2(context_, codec_, nullptr);
  if (result < 0) NoteError(result);
  return result >= 0;
}

bool VideoDecoder::Send(const uint8_t* data, size_t size, int64_t sample) {
  Ffmpeg().av_packet_unref(packet_);
  int result = 0;
  if (data == nullptr) {
    result = Ffmpeg().avcodec_send_packet(context_, nullptr);
  } else {
    packet_->data = const_cast<uint8_t*>(data);
    packet_->size = static_cast<int>(size);
    packet_->pts = sample;
    packet_->flags = 0;
    result = Ffmpeg().avcodec_send_packet(context_, packet_);
    packet_->data = nullptr;
    packet_->size = 0;
  }
  // The end of the stream may be announced twice when a caller drains again; that is not a failure.
  if (result < 0 && result != AVERROR_EOF) {
    NoteError(result);
    return false;
  }
  return true;
}

VideoDecoder::Received VideoDecoder::Receive(AVFrame* picture) {
  const int result = Ffmpeg().avcodec_receive_frame(context_, picture);
  if (result >= 0) return Received::kPicture;
  if (result == AVERROR(EAGAIN)) return Received::kNeedsInput;
  if (result == AVERROR_EOF) return Received::kEnd;
  NoteError(result);
  return Received::kError;
}

void VideoDecoder::Flush() { Ffmpeg().avcodec_flush_buffers(context_); }

const char* VideoDecoder::LongName() const { return codec_->long_name != nullptr ? codec_->long_name : codec_->name; }

int VideoDecoder::ReorderDepth() const { return context_ != nullptr ? context_->has_b_frames : 0; }

void VideoDecoder::NoteError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  Ffmpeg().av_strerror(code, text, sizeof text);
  last_error_ = text;
}

}  // namespace vidmetra
