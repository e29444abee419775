#include "vidmetra/decoded_sequence.h"

#include <algorithm>
#include <cstring>

#include "vidmetra/ffmpeg_api.h"

namespace vidmetra {
namespace {

// Pictures a key frame's group may show before the key frame itself; more means the stream is not what it claims.
constexpr size_t kMaxLeadingPictures = 64;

}  // namespace

DecodedSequence::DecodedSequence(StreamSource& stream, VideoDecoder& decoder)
    : stream_(stream), decoder_(decoder), current_(Ffmpeg().av_frame_alloc()) {
  for (int64_t sample = stream_.Start(); sample <= stream_.End(); ++sample) {
    int64_t size = 0;
    stream_.Read(sample, nullptr, 0, size);
    if (size == 0) empty_samples_.push_back(sample);
  }
}

DecodedSequence::~DecodedSequence() {
  DropPending();
  Ffmpeg().av_frame_free(&current_);
}

void DecodedSequence::DropPending() {
  for (AVFrame* picture : pending_) Ffmpeg().av_frame_free(&picture);
  pending_.clear();
}

bool DecodedSequence::IsEmpty(int64_t sample) const {
  return std::binary_search(empty_samples_.begin(), empty_samples_.end(), sample);
}

int64_t DecodedSequence::Rank(int64_t sample) const {
  const auto empty_before = std::lower_bound(empty_samples_.begin(), empty_samples_.end(), sample) -
                            empty_samples_.begin();
  return sample - stream_.Start() - empty_before;
}

int64_t DecodedSequence::KeyAtOrBefore(int64_t sample) const {
  int64_t k = sample;
  while (k > stream_.Start() && (IsEmpty(k) || !stream_.IsKeyFrame(k))) --k;
  // A stream that does not start with a key frame is decoded from its first picture.
  while (k < sample && IsEmpty(k)) ++k;
  return k;
}

DecodedSequence::Outcome DecodedSequence::Frame(int64_t sample, const AVFrame*& picture) {
  if (sample < stream_.Start() || sample > stream_.End()) return Outcome::kReadFailed;
  if (IsEmpty(sample)) return Outcome::kDropped;
  const int64_t rank = Rank(sample);
  if (rank != current_rank_ || current_->data[0] == nullptr) {
    if (NeedsRestart(sample, rank)) {
      const Outcome restarted = Restart(sample);
      if (restarted != Outcome::kPicture) return restarted;
    }
    while (current_rank_ < rank) {
      const Outcome taken = TakePicture();
      if (taken != Outcome::kPicture) return taken;
      if (current_rank_ < rank) ++passed_over_;
    }
  }
  picture = current_;
  return Outcome::kPicture;
}

bool DecodedSequence::NeedsRestart(int64_t sample, int64_t rank) const {
  if (!synced_ || rank < current_rank_ + 1) return true;
  // Going forward decodes what a restart would decode anyway as long as no key frame lies between.
  return KeyAtOrBefore(sample) > next_feed_;
}

DecodedSequence::Outcome DecodedSequence::Restart(int64_t sample) {
  const int64_t key = KeyAtOrBefore(sample);
  int64_t start = key;
  if (reorders_ && key > stream_.Start()) start = KeyAtOrBefore(key - 1);
  decoder_.Flush();
  DropPending();
  Ffmpeg().av_frame_unref(current_);
  synced_ = false;
  drained_ = false;
  next_feed_ = start;
  last_restart_ = start;
  passed_over_ = 0;
  // The key frame's own picture anchors the count: what the decoder shows before it with a later sample number
  // belongs to the key frame's group and is kept; what came from earlier samples is passed over.
  for (;;) {
    AVFrame* picture = Ffmpeg().av_frame_alloc();
    if (picture == nullptr) return Outcome::kDecodeFailed;
    const Outcome decoded = Decode(picture);
    if (decoded != Outcome::kPicture) {
      Ffmpeg().av_frame_free(&picture);
      return decoded;
    }
    const bool unnumbered = picture->pts == AV_NOPTS_VALUE;
    if (picture->pts == key || (unnumbered && !reorders_)) {
      pending_.push_back(picture);
      break;
    }
    if (!unnumbered && picture->pts > key && pending_.size() < kMaxLeadingPictures) {
      pending_.push_back(picture);
    } else {
      Ffmpeg().av_frame_free(&picture);
      ++passed_over_;
      if (pending_.size() >= kMaxLeadingPictures) return Outcome::kDecodeFailed;
    }
  }
  // The first picture kept takes the key frame's place among the pictures.
  current_rank_ = Rank(key) - 1;
  synced_ = true;
  return Outcome::kPicture;
}

DecodedSequence::Outcome DecodedSequence::TakePicture() {
  Ffmpeg().av_frame_unref(current_);
  if (!pending_.empty()) {
    AVFrame* next = pending_.front();
    pending_.pop_front();
    Ffmpeg().av_frame_move_ref(current_, next);
    Ffmpeg().av_frame_free(&next);
  } else {
    const Outcome decoded = Decode(current_);
    if (decoded != Outcome::kPicture) {
      synced_ = false;
      current_rank_ = -1;
      return decoded;
    }
  }
  ++current_rank_;
  return Outcome::kPicture;
}

DecodedSequence::Outcome DecodedSequence::Decode(AVFrame* into) {
  for (;;) {
    switch (decoder_.Receive(into)) {
      case VideoDecoder::Received::kPicture:
        reorders_ = reorders_ || decoder_.ReorderDepth() > 0;
        return Outcome::kPicture;
      case VideoDecoder::Received::kNeedsInput: {
        const Outcome fed = Feed();
        if (fed != Outcome::kPicture) return fed;
        break;
      }
      case VideoDecoder::Received::kEnd:
      case VideoDecoder::Received::kError:
        return Outcome::kDecodeFailed;
    }
  }
}

// Sends the next sample that holds data, or the end of the stream after the last one. kPicture means sent.
DecodedSequence::Outcome DecodedSequence::Feed() {
  while (next_feed_ <= stream_.End() && IsEmpty(next_feed_)) ++next_feed_;
  if (next_feed_ > stream_.End()) {
    if (drained_) return Outcome::kDecodeFailed;
    drained_ = true;
    return decoder_.Send(nullptr, 0, 0) ? Outcome::kPicture : Outcome::kDecodeFailed;
  }
  const int64_t sample = next_feed_++;
  int64_t size = 0;
  stream_.Read(sample, nullptr, 0, size);
  uint8_t* bytes = size > 0 ? sample_bytes_.Ensure(static_cast<size_t>(size) + VideoDecoder::kInputPadding) : nullptr;
  if (bytes == nullptr) return Outcome::kReadFailed;
  int64_t read = 0;
  if (!stream_.Read(sample, bytes, size, read) || read != size) return Outcome::kReadFailed;
  std::memset(bytes + size, 0, VideoDecoder::kInputPadding);
  return decoder_.Send(bytes, static_cast<size_t>(size), sample) ? Outcome::kPicture : Outcome::kDecodeFailed;
}

}  // namespace vidmetra
