#include "vidmetra/avi_muxer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vidmetra/bitmap_info_header.h"
#include "vidmetra/byte_order.h"
#include "vidmetra/ffmpeg_api.h"
#include "vidmetra/fourcc.h"
#include "vidmetra/riff_codec_tags.h"

namespace vidmetra {
namespace {

constexpr size_t kWaveFormatBytes = 16;
constexpr size_t kWaveFormatExBytes = 18;
// The stream headers sit in the header list at the start of the file, well inside this.
constexpr size_t kHeaderSearchBytes = 1 << 20;

bool SetExtradata(AVCodecParameters* parameters, const uint8_t* bytes, size_t size) {
  if (size == 0) return true;
  parameters->extradata = static_cast<uint8_t*>(Ffmpeg().av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
  if (parameters->extradata == nullptr) return false;
  std::memcpy(parameters->extradata, bytes, size);
  parameters->extradata_size = static_cast<int>(size);
  return true;
}

}  // namespace

bool AviMuxer::Create(const std::string& name) {
  Close();
  const FfmpegApi* ff = LoadFfmpeg();
  if (ff == nullptr) return false;
  if (ff->avformat_alloc_output_context2(&context_, nullptr, "avi", name.c_str()) < 0 || context_ == nullptr) {
    return false;
  }
  packet_ = ff->av_packet_alloc();
  if (packet_ == nullptr || ff->avio_open(&context_->pb, name.c_str(), AVIO_FLAG_WRITE) < 0) {
    Release();
    return false;
  }
  name_ = name;
  return true;
}

int AviMuxer::AddStream(const StreamInfo& info, const std::string& title) {
  const bool video = info.type == FourCc("vids");
  if (context_ == nullptr || started_ || (!video && info.type != FourCc("auds")) || info.scale < 1 || info.rate < 1) {
    return -1;
  }
  AVStream* stream = Ffmpeg().avformat_new_stream(context_, nullptr);
  if (stream == nullptr) return -1;
  stream->codecpar->codec_type = video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
  stream->time_base = AVRational{static_cast<int>(info.scale), static_cast<int>(info.rate)};
  if (video) stream->avg_frame_rate = AVRational{static_cast<int>(info.rate), static_cast<int>(info.scale)};
  if (!title.empty()) Ffmpeg().av_dict_set(&stream->metadata, "title", title.c_str(), 0);
  plans_.push_back(StreamPlan{info.handler, video, false});
  return stream->index;
}

bool AviMuxer::SetFormat(int stream, const uint8_t* format, size_t size) {
  if (context_ == nullptr || started_ || stream < 0 || static_cast<size_t>(stream) >= plans_.size() || !format) {
    return false;
  }
  StreamPlan& plan = plans_[static_cast<size_t>(stream)];
  plan.has_format = plan.video ? SetVideoFormat(stream, format, size) : SetAudioFormat(stream, format, size);
  return plan.has_format;
}

bool AviMuxer::SetVideoFormat(int stream, const uint8_t* format, size_t size) {
  if (size < BitmapInfoHeader::kBytes) return false;
  const BitmapInfoHeader header = BitmapInfoHeader::Parse({format, size});
  if (header.width < 1 || header.height == 0 || header.height == INT32_MIN) return false;
  AVCodecParameters* parameters = context_->streams[stream]->codecpar;
  parameters->codec_id = VideoCodecForFourCc(header.compression);
  parameters->codec_tag = header.compression;
  parameters->width = header.width;
  parameters->height = std::abs(header.height);
  parameters->bits_per_coded_sample = header.bit_count;
  if (header.compression == 0) {
    // Only 24-bit rows can be stored uncompressed; a positive height keeps them bottom-up as given.
    if (header.bit_count != 24) return false;
    parameters->format = AV_PIX_FMT_BGR24;
    bottom_up_raw_ = bottom_up_raw_ || header.height > 0;
  }
  return SetExtradata(parameters, format + BitmapInfoHeader::kBytes, size - BitmapInfoHeader::kBytes);
}

bool AviMuxer::SetAudioFormat(int stream, const uint8_t* format, size_t size) {
  if (size < kWaveFormatBytes) return false;
  const uint16_t tag = LoadLe16(format);
  const uint16_t channels = LoadLe16(format + 2);
  const uint32_t sample_rate = LoadLe32(format + 4);
  const uint32_t byte_rate = LoadLe32(format + 8);
  const uint16_t block_align = LoadLe16(format + 12);
  const uint16_t bits = LoadLe16(format + 14);
  AVCodecParameters* parameters = context_->streams[stream]->codecpar;
  parameters->codec_id = AudioCodecForWaveTag(tag, bits);
  if (parameters->codec_id == AV_CODEC_ID_NONE || channels == 0 || sample_rate == 0 || sample_rate > INT32_MAX) {
    return false;
  }
  parameters->codec_tag = tag;
  Ffmpeg().av_channel_layout_default(&parameters->ch_layout, channels);
  parameters->sample_rate = static_cast<int>(sample_rate);
  parameters->bit_rate = static_cast<int64_t>(byte_rate) * 8;
  parameters->block_align = block_align;
  parameters->bits_per_coded_sample = bits;
  size_t extra = 0;
  if (size >= kWaveFormatExBytes) extra = std::min<size_t>(LoadLe16(format + 16), size - kWaveFormatExBytes);
  return SetExtradata(parameters, format + kWaveFormatExBytes, extra);
}

bool AviMuxer::Start() {
  if (context_ == nullptr || started_ || plans_.empty()) return false;
  for (const StreamPlan& plan : plans_) {
    if (!plan.has_format) return false;
  }
  const FfmpegApi& ff = Ffmpeg();
  AVDictionary* options = nullptr;
  if (bottom_up_raw_) ff.av_dict_set(&options, "flipped_raw_rgb", "1", 0);
  const int status = ff.avformat_write_header(context_, &options);
  ff.av_dict_free(&options);
  started_ = status >= 0;
  return started_;
}

bool AviMuxer::WriteSample(int stream, int64_t sample, const uint8_t* data, int64_t size, bool key_frame) {
  if (!started_ || stream < 0 || static_cast<size_t>(stream) >= plans_.size() || sample < 0 || size < 0 ||
      size > INT32_MAX || (data == nullptr && size > 0)) {
    return false;
  }
  StreamPlan& plan = plans_[static_cast<size_t>(stream)];
  // The muxer fills a gap between two video samples itself, but only once the stream has a sample: an empty
  // first sample makes it fill the rest of a gap at the start.
  if (plan.video && !plan.written && sample > 0 && !WritePacket(stream, 0, nullptr, 0, false)) return false;
  plan.written = true;
  return WritePacket(stream, sample, data, size, key_frame);
}

bool AviMuxer::WritePacket(int stream, int64_t sample, const uint8_t* data, int64_t size, bool key_frame) {
  // The muxer only reads the bytes; it copies what it keeps.
  packet_->data = const_cast<uint8_t*>(data);
  packet_->size = static_cast<int>(size);
  packet_->stream_index = stream;
  packet_->pts = sample;
  packet_->dts = sample;
  packet_->flags = key_frame ? AV_PKT_FLAG_KEY : 0;
  const bool written = Ffmpeg().av_write_frame(context_, packet_) >= 0;
  packet_->data = nullptr;
  packet_->size = 0;
  return written;
}

bool AviMuxer::Close() {
  if (context_ == nullptr) return true;
  const FfmpegApi& ff = Ffmpeg();
  bool finished = true;
  if (started_) finished = ff.av_write_trailer(context_) >= 0;
  finished = ff.avio_closep(&context_->pb) >= 0 && finished;
  const bool patched = !started_ || PatchHandlers();
  Release();
  return finished && patched;
}

// The muxer writes each stream's codec tag as its handler; where the stream information names another
// (uncompressed video is "DIB" and a zero byte while its format says no compression), the stream header is
// corrected in place.
bool AviMuxer::PatchHandlers() const {
  std::FILE* file = std::fopen(name_.c_str(), "r+b");
  if (file == nullptr) return false;
  std::vector<uint8_t> head(kHeaderSearchBytes);
  head.resize(std::fread(head.data(), 1, head.size(), file));
  bool patched = true;
  size_t position = 0;
  for (size_t stream = 0; stream < plans_.size() && patched; ++stream) {
    const uint8_t id[] = {'s', 't', 'r', 'h'};
    const auto found = std::search(head.begin() + static_cast<ptrdiff_t>(position), head.end(), id, id + 4);
    if (found == head.end() || head.end() - found < 16) {
      patched = false;
      break;
    }
    const size_t handler_at = static_cast<size_t>(found - head.begin()) + 12;
    position = handler_at;
    if (LoadLe32(&head[handler_at]) == plans_[stream].handler) continue;
    uint8_t handler[4];
    StoreLe32(handler, plans_[stream].handler);
    patched = std::fseek(file, static_cast<long>(handler_at), SEEK_SET) == 0 && std::fwrite(handler, 1, 4, file) == 4;
  }
  return std::fclose(file) == 0 && patched;
}

void AviMuxer::Release() {
  if (context_ != nullptr) {
    Ffmpeg().avio_closep(&context_->pb);
    Ffmpeg().avformat_free_context(context_);
    context_ = nullptr;
  }
  if (packet_ != nullptr) Ffmpeg().av_packet_free(&packet_);
  plans_.clear();
  name_.clear();
  started_ = false;
  bottom_up_raw_ = false;
}

}  // namespace vidmetra
