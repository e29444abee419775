#include "vidmetra/media_packet_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "vidmetra/ffmpeg_api.h"
#include "vidmetra/ffmpeg_logging.h"

namespace vidmetra {
namespace {

// Frame numbers are ints everywhere above the reader.
constexpr size_t kMaxPackets = static_cast<size_t>(std::numeric_limits<int>::max()) - 1;

int64_t TimestampOf(const AVPacket& packet) { return packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts; }

}  // namespace

MediaPacketStream::~MediaPacketStream() {
  CloseFile();
  if (parameters_ != nullptr) Ffmpeg().avcodec_parameters_free(&parameters_);
}

MediaPacketStream::Opened MediaPacketStream::Open(const std::string& name) {
  QuietFfmpegLogging();
  name_ = name;
  if (!FfmpegAvailable() || !OpenFile()) return Opened::kNotMedia;
  if (stream_index_ < 0) return Opened::kNoVideo;
  const AVStream& stream = *format_->streams[stream_index_];
  // Kept apart from the file, which closes and opens again while reading.
  parameters_ = Ffmpeg().avcodec_parameters_alloc();
  if (parameters_ == nullptr || Ffmpeg().avcodec_parameters_copy(parameters_, stream.codecpar) < 0) {
    return Opened::kNotMedia;
  }
  AVRational rate = stream.avg_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) rate = stream.r_frame_rate;
  if (rate.num > 0 && rate.den > 0) {
    rate_num_ = rate.num;
    rate_den_ = rate.den;
  }
  Index();
  return Opened::kOk;
}

bool MediaPacketStream::OpenFile() {
  packet_ = Ffmpeg().av_packet_alloc();
  if (packet_ == nullptr || Ffmpeg().avformat_open_input(&format_, name_.c_str(), nullptr, nullptr) < 0) return false;
  if (Ffmpeg().avformat_find_stream_info(format_, nullptr) < 0) return false;
  stream_index_ = -1;
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    AVStream& stream = *format_->streams[i];
    // Cover art is a video stream of one picture, not the video.
    const bool video = stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                       (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) == 0;
    if (video && stream_index_ < 0) {
      stream_index_ = static_cast<int>(i);
    } else {
      stream.discard = AVDISCARD_ALL;
    }
  }
  held_ = -1;
  return true;
}

void MediaPacketStream::CloseFile() {
  if (packet_ != nullptr) Ffmpeg().av_packet_free(&packet_);
  if (format_ != nullptr) Ffmpeg().avformat_close_input(&format_);
  held_ = -1;
}

// MP4 and MOV files list every sample with its place, size and key flag; reading them is the packet pass without
// reading the file. Samples the file does not hold (a file cut short) end the list.
bool MediaPacketStream::IndexFromContainer() {
  if (std::strcmp(format_->iformat->name, "mov,mp4,m4a,3gp,3g2,mj2") != 0) return false;
  AVStream* stream = format_->streams[stream_index_];
  const int count = Ffmpeg().avformat_index_get_entries_count(stream);
  const int64_t file_size = Ffmpeg().avio_size(format_->pb);
  if (count <= 0 || file_size <= 0) return false;
  packets_.reserve(static_cast<size_t>(std::min<int64_t>(count, file_size)));
  for (int i = 0; i < count; ++i) {
    const AVIndexEntry* entry = Ffmpeg().avformat_index_get_entry(stream, i);
    if (entry == nullptr || entry->pos < 0 || entry->pos > file_size - entry->size || packets_.size() >= kMaxPackets) {
      ends_early_ = true;
      break;
    }
    if (entry->size <= 0) continue;
    packets_.push_back({entry->pos, entry->timestamp, entry->size, (entry->flags & AVINDEX_KEYFRAME) != 0,
                        (entry->flags & AVINDEX_DISCARD_FRAME) != 0});
  }
  return true;
}

void MediaPacketStream::Index() {
  packets_.clear();
  if (IndexFromContainer()) {
    packets_.shrink_to_fit();
    return;
  }
  for (;;) {
    const int result = Ffmpeg().av_read_frame(format_, packet_);
    if (result < 0) {
      ends_early_ = result != AVERROR_EOF;
      break;
    }
    if (packet_->stream_index == stream_index_ && packet_->size > 0) {
      // A packet cut short by the end of the file is damage, not a frame.
      if ((packet_->flags & AV_PKT_FLAG_CORRUPT) != 0 || packets_.size() >= kMaxPackets) {
        ends_early_ = true;
        break;
      }
      packets_.push_back({packet_->pos, TimestampOf(*packet_), packet_->size,
                          (packet_->flags & AV_PKT_FLAG_KEY) != 0, (packet_->flags & AV_PKT_FLAG_DISCARD) != 0});
      if (packet_->pts != AV_NOPTS_VALUE) last_shown_ = std::max(last_shown_, packet_->pts);
    }
    Ffmpeg().av_packet_unref(packet_);
  }
  Ffmpeg().av_packet_unref(packet_);
  ends_early_ = ends_early_ || EndsBeforeItsDuration();
  packets_.shrink_to_fit();
  // Reading starts over for the frames themselves.
  if (packets_.empty() || !SeekNear(0)) CloseFile();
}

// Some containers (Matroska among them) simply end where a cut file ends; the duration their header states tells
// that pictures are missing. Durations libavformat only estimated from the bit rate prove nothing.
bool MediaPacketStream::EndsBeforeItsDuration() const {
  if (format_->duration_estimation_method != AVFMT_DURATION_FROM_STREAM || last_shown_ == AV_NOPTS_VALUE ||
      rate_num_ <= 0) {
    return false;
  }
  const AVStream& stream = *format_->streams[stream_index_];
  const int64_t start = stream.start_time != AV_NOPTS_VALUE ? stream.start_time : 0;
  const FfmpegApi& ff = Ffmpeg();
  // AV_TIME_BASE_Q is a C compound literal.
  const int64_t duration = stream.duration != AV_NOPTS_VALUE
                               ? stream.duration
                               : ff.av_rescale_q(format_->duration, AVRational{1, AV_TIME_BASE}, stream.time_base);
  const int64_t frame = ff.av_rescale_q(1, AVRational{rate_den_, rate_num_}, stream.time_base);
  // The last picture shown lasts one frame; half a frame more missing before the stated end is a picture missing.
  return duration > 0 && last_shown_ - start + frame + frame / 2 < duration;
}

bool MediaPacketStream::ReadPacket() {
  for (;;) {
    Ffmpeg().av_packet_unref(packet_);
    if (Ffmpeg().av_read_frame(format_, packet_) < 0) return false;
    if (packet_->stream_index == stream_index_ && packet_->size > 0) return true;
  }
}

bool MediaPacketStream::IsPacket(int64_t sample) const {
  const Packet& expected = packets_[static_cast<size_t>(sample)];
  if (packet_->size != expected.size || packet_->pos != expected.pos) return false;
  // Guessed decode times depend on what the demuxer saw before a seek; a known position identifies the packet alone.
  return expected.pos >= 0 || TimestampOf(*packet_) == expected.timestamp;
}

bool MediaPacketStream::Read(int64_t sample, void* buffer, int64_t capacity, int64_t& bytes_read) {
  if (sample < 0 || sample >= Length()) return false;
  const int32_t size = packets_[static_cast<size_t>(sample)].size;
  bytes_read = size;
  if (buffer == nullptr) return capacity == 0;
  if (capacity < size || !MoveTo(sample)) return false;
  std::memcpy(buffer, packet_->data, static_cast<size_t>(size));
  return true;
}

bool MediaPacketStream::KeyBetween(int64_t held, int64_t sample) const {
  for (int64_t k = held + 2; k <= sample; ++k) {
    if (IsKeyFrame(k)) return true;
  }
  return false;
}

bool MediaPacketStream::MoveTo(int64_t sample) {
  if (held_ == sample && format_ != nullptr) return true;
  // Going forward reads what a seek would read anyway as long as no key frame lies between.
  if (format_ == nullptr || sample <= held_ || KeyBetween(held_, sample)) {
    if (!(seeks_ && format_ != nullptr && SeekNear(sample)) && !Rewind()) return false;
  }
  bool rewound = false;
  while (held_ < sample) {
    if (!ReadPacket()) {
      // Where the demuxer stands after a failure is unknown: the next read starts over.
      CloseFile();
      return false;
    }
    ++held_;
    if (!IsPacket(held_)) {
      // The demuxer cut the stream otherwise than at open (a seek into a raw bitstream): from the start it cuts it
      // as it did then.
      seeks_ = false;
      if (rewound || !Rewind()) return false;
      rewound = true;
    }
  }
  return true;
}

bool MediaPacketStream::SeekNear(int64_t sample) {
  int64_t key = sample;
  while (key > 0 && !IsKeyFrame(key)) --key;
  const int64_t timestamp = packets_[static_cast<size_t>(key)].timestamp;
  if (timestamp == AV_NOPTS_VALUE ||
      Ffmpeg().av_seek_frame(format_, stream_index_, timestamp, AVSEEK_FLAG_BACKWARD) < 0) {
    return false;
  }
  if (ReadPacket()) {
    // Frames are counted from the index: the packet the seek landed on must be one it holds, at or before the one
    // asked for.
    for (int64_t j = sample; j >= 0; --j) {
      if (IsPacket(j)) {
        held_ = j;
        return true;
      }
    }
  }
  // Landed somewhere the index does not know: from now on reading starts over instead.
  seeks_ = false;
  return false;
}

bool MediaPacketStream::Rewind() {
  CloseFile();
  ++rewinds_;
  return OpenFile() && stream_index_ >= 0;
}

bool MediaPacketStream::GetInfo(StreamInfo& info) const {
  if (parameters_ == nullptr) return false;
  info = StreamInfo{};
  info.rate = static_cast<uint32_t>(rate_num_);
  info.scale = static_cast<uint32_t>(rate_den_);
  info.length = static_cast<uint32_t>(packets_.size());
  info.frame.right = Parameters().width;
  info.frame.bottom = Parameters().height;
  return true;
}

bool MediaPacketStream::IsKeyFrame(int64_t sample) const {
  return sample >= 0 && sample < Length() && packets_[static_cast<size_t>(sample)].key;
}

bool MediaPacketStream::IsDiscarded(int64_t sample) const {
  return sample >= 0 && sample < Length() && packets_[static_cast<size_t>(sample)].discard;
}

const AVCodecParameters& MediaPacketStream::Parameters() const { return *parameters_; }

std::string MediaPacketStream::ContainerName() const {
  return format_ != nullptr && format_->iformat != nullptr ? format_->iformat->name : "";
}

}  // namespace vidmetra
