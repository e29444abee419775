#pragma once
// The video stream of a file libavformat reads (Y4M, MP4, MKV, WebM, MOV, MPEG-TS, IVF, raw bitstreams), as
// numbered samples: sample n is the n-th packet of the stream in file order. The container's own sample table
// (MP4, MOV) or else one packet-only pass at open counts and indexes them; nothing is decoded and no timestamp is
// trusted for counting.
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/stream_source.h"

struct AVCodecParameters;
struct AVFormatContext;
struct AVPacket;

namespace vidmetra {

class MediaPacketStream : public StreamSource {
 public:
  enum class Opened { kOk, kNotMedia, kNoVideo };

  MediaPacketStream() = default;
  ~MediaPacketStream() override;
  MediaPacketStream(const MediaPacketStream&) = delete;
  MediaPacketStream& operator=(const MediaPacketStream&) = delete;

  Opened Open(const std::string& name);

  // The video stream's codec parameters; only after a successful Open.
  const AVCodecParameters& Parameters() const;
  // Frames per second as numerator and denominator; 0/1 when the file does not say.
  int RateNumerator() const { return rate_num_; }
  int RateDenominator() const { return rate_den_; }
  // The container's name as libavformat gives it, e.g. "matroska,webm".
  std::string ContainerName() const;
  // Whether the packet pass stopped at damage rather than at the end of the file.
  bool EndsEarly() const { return ends_early_; }

  bool IsVideo() const override { return true; }
  bool IsAudio() const override { return false; }
  bool Read(int64_t sample, void* buffer, int64_t capacity, int64_t& bytes_read) override;
  bool GetInfo(StreamInfo& info) const override;
  bool IsKeyFrame(int64_t sample) const override;
  // Packets an edit list keeps out of the presentation: needed for decoding, never shown.
  bool IsDiscarded(int64_t sample) const;
  int64_t Length() const override { return static_cast<int64_t>(packets_.size()); }
  int64_t Start() const override { return 0; }
  int64_t End() const override { return Length() - 1; }
  int64_t FormatSize() const override { return 0; }
  bool ReadFormat(void*, int64_t) const override { return false; }

  // For tests: how often reading had to start over from the beginning of the file.
  int64_t Rewinds() const { return rewinds_; }

 private:
  struct Packet {
    int64_t pos;
    int64_t timestamp;  // decode time, else presentation time, in the stream's time base
    int32_t size;
    bool key;
    bool discard;  // decoded for the pictures after it, but before the file's presentation starts
  };

  bool OpenFile();
  void CloseFile();
  void Index();
  bool IndexFromContainer();
  bool EndsBeforeItsDuration() const;
  // The next packet of the video stream into `packet_`; false at the end or on damage.
  bool ReadPacket();
  bool IsPacket(int64_t sample) const;
  // Whether a key frame lies after the packet after `held`, up to `sample`.
  bool KeyBetween(int64_t held, int64_t sample) const;
  // Makes `packet_` hold sample `sample`.
  bool MoveTo(int64_t sample);
  bool SeekNear(int64_t sample);
  bool Rewind();

  std::string name_;
  AVFormatContext* format_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVCodecParameters* parameters_ = nullptr;
  int stream_index_ = -1;
  std::vector<Packet> packets_;
  int64_t held_ = -1;  // the sample `packet_` holds; -1 at the start of the file
  bool ends_early_ = false;
  int64_t last_shown_ = INT64_MIN;  // the latest presentation time indexed
  bool seeks_ = true;  // seeking lands on packets the index knows; cleared when it once did not
  int rate_num_ = 0;
  int rate_den_ = 1;
  int64_t rewinds_ = 0;
};

}  // namespace vidmetra
