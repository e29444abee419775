#pragma once
// The frames of a compressed stream in display order. An AVI file stores samples in decode order, so with B-frames
// the decoder hands a picture out later than its sample: frame n is the n-th picture the decoder hands out when the
// stream is decoded from its start, with zero-length samples (dropped frames) keeping their own places.
#include <cstdint>
#include <deque>
#include <vector>

#include "vidmetra/growable_buffer.h"
#include "vidmetra/stream_source.h"
#include "vidmetra/video_decoder.h"

struct AVFrame;

namespace vidmetra {

class DecodedSequence {
 public:
  enum class Outcome { kPicture, kDropped, kReadFailed, kDecodeFailed };

  // Both must outlive the sequence; the decoder is open.
  DecodedSequence(StreamSource& stream, VideoDecoder& decoder);
  ~DecodedSequence();
  DecodedSequence(const DecodedSequence&) = delete;
  DecodedSequence& operator=(const DecodedSequence&) = delete;

  // Frame `sample` (Start() to End() of the stream). On kPicture, `picture` stays valid until the next call.
  // Random access restarts at the key frame at or before the frame, or one key frame earlier in streams whose
  // pictures are reordered, so that pictures a key frame's group shows before it are decoded whole.
  Outcome Frame(int64_t sample, const AVFrame*& picture);

  // The sample decoding last restarted at, and the pictures decoded since then without being asked for.
  int64_t LastRestart() const { return last_restart_; }
  int64_t PassedOver() const { return passed_over_; }

 private:
  bool IsEmpty(int64_t sample) const;
  // Pictures before the picture of `sample`, counting from the first sample: samples before it that are not empty.
  int64_t Rank(int64_t sample) const;
  int64_t KeyAtOrBefore(int64_t sample) const;
  bool NeedsRestart(int64_t sample, int64_t rank) const;
  Outcome Restart(int64_t sample);
  // The next picture in display order into `current_`.
  Outcome TakePicture();
  Outcome Decode(AVFrame* into);
  Outcome Feed();
  void DropPending();

  StreamSource& stream_;
  VideoDecoder& decoder_;
  std::vector<int64_t> empty_samples_;  // ascending
  GrowableBuffer sample_bytes_;
  int64_t next_feed_ = 0;
  bool drained_ = false;
  bool reorders_ = false;
  bool synced_ = false;
  std::deque<AVFrame*> pending_;  // decoded, not yet handed out, in display order
  AVFrame* current_ = nullptr;    // the picture handed out last
  int64_t current_rank_ = -1;     // its place among the pictures, -1 when none
  int64_t last_restart_ = -1;
  int64_t passed_over_ = 0;
};

}  // namespace vidmetra
