#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/stream_source.h"

struct AVFormatContext;
struct AVPacket;

namespace vidmetra {

// The AVI file service for writing, over libavformat's AVI muxer (which switches to the OpenDML layout past
// 1 GiB). Streams are described as an AVI file describes them, by a stream-information record and a format
// record (a bitmap information header for video, a wave format record for audio); samples are written at
// explicit sample numbers, a gap in a video stream (before its first sample too) being filled with empty samples.
class AviMuxer {
 public:
  AviMuxer() = default;
  AviMuxer(const AviMuxer&) = delete;
  AviMuxer& operator=(const AviMuxer&) = delete;
  ~AviMuxer() { Close(); }

  bool Create(const std::string& name);
  // Returns the new stream's number, or -1. Only video ("vids") and audio ("auds") streams can be written.
  int AddStream(const StreamInfo& info, const std::string& title);
  bool SetFormat(int stream, const uint8_t* format, size_t size);
  // Writes the headers; every stream must have its format by now.
  bool Start();
  bool WriteSample(int stream, int64_t sample, const uint8_t* data, int64_t size, bool key_frame);
  // Completes the file (index, counters); false when that fails. Also releases a file that was never started.
  bool Close();

 private:
  struct StreamPlan {
    uint32_t handler = 0;
    bool video = false;
    bool has_format = false;
    bool written = false;  // a sample has been written
  };

  bool SetVideoFormat(int stream, const uint8_t* format, size_t size);
  bool SetAudioFormat(int stream, const uint8_t* format, size_t size);
  bool WritePacket(int stream, int64_t sample, const uint8_t* data, int64_t size, bool key_frame);
  bool PatchHandlers() const;
  void Release();

  std::string name_;
  AVFormatContext* context_ = nullptr;
  AVPacket* packet_ = nullptr;
  std::vector<StreamPlan> plans_;
  bool started_ = false;
  bool bottom_up_raw_ = false;
};

}  // namespace vidmetra
