#pragma once
// The video of an evaluated AviSynth+ script served as a stream of uncompressed samples, as the system's AVI file
// service serves scripts: YV12 and YUY2 as stored, RGB as bottom-up DIB rows.
#include <cstdint>
#include <memory>
#include <vector>

#include "vidmetra/avisynth_api.h"
#include "vidmetra/stream_source.h"

namespace vidmetra {

class AviFileStream final : public StreamSource {
 public:
  // The clip stays owned by the caller and must outlive the stream. Returns null for a clip whose pixel type is
  // none of YV12, I420, YUY2, RGB24 and RGB32.
  static std::unique_ptr<AviFileStream> ForClip(const AvisynthApi& api, AvsClip* clip, int32_t number);

  // Scripts are read for their video only.
  bool IsVideo() const override { return true; }
  bool IsAudio() const override { return false; }
  bool Read(int64_t sample, void* buffer, int64_t capacity, int64_t& bytes_read) override;
  bool GetInfo(StreamInfo& info) const override;
  bool IsKeyFrame(int64_t sample) const override;
  int64_t Length() const override { return info_.length; }
  int64_t Start() const override { return info_.start; }
  int64_t End() const override { return Start() + Length() - 1; }
  int64_t FormatSize() const override { return static_cast<int64_t>(format_.size()); }
  bool ReadFormat(void* buffer, int64_t size) const override;

  int32_t Number() const { return number_; }

 private:
  AviFileStream(const AvisynthApi& api, AvsClip* clip, int32_t number, uint32_t pixel_type);
  // Copies at most `rows` rows of one plane to `target`, `target_stride` bytes apart; returns where the next plane
  // starts.
  uint8_t* CopyPlane(const AvsVideoFrame* frame, int plane, uint8_t* target, int64_t target_stride, int rows) const;
  void CopyFrame(const AvsVideoFrame* frame, uint8_t* target) const;

  const AvisynthApi& api_;
  AvsClip* clip_;
  int32_t number_;
  uint32_t pixel_type_;
  StreamInfo info_;
  std::vector<uint8_t> format_;
  int64_t sample_bytes_ = 0;
};

}  // namespace vidmetra
