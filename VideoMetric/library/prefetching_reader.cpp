#include "vidmetra/prefetching_reader.h"

namespace vidmetra {

PrefetchingReader::PrefetchingReader(std::unique_ptr<SequenceReader> inner, TaskPool& pool)
    : inner_(std::move(inner)),
      pool_(pool),
      width_(inner_->Width()),
      height_(inner_->Height()),
      colour_space_(inner_->ColourSpace()),
      rate_(inner_->Rate()),
      scale_(inner_->Scale()),
      frame_count_(inner_->FrameCount()),
      first_(inner_->FirstFrameNumber()),
      end_(first_ + frame_count_),
      decoder_name_(inner_->DecoderName()),
      next_(first_) {}

PrefetchingReader::~PrefetchingReader() {
  // The frame read ahead is dropped unseen, and so is whatever its read threw.
  try {
    Settle();
  } catch (...) {
  }
}

void PrefetchingReader::Prefetch(int frame_number) {
  if (frame_number >= end_) return;
  ahead_number_ = frame_number;
  pool_.Submit(*this, 1);
}

void PrefetchingReader::RunPart(int) { ahead_status_ = inner_->ReadFrame(ahead_, ahead_number_); }

int PrefetchingReader::ReadFrame(VideoFrame& frame, int frame_number) {
  Settle();
  int status;
  if (ahead_number_ == frame_number && frame_number >= first_) {
    frame.Swap(ahead_);
    status = ahead_status_;
  } else {
    status = inner_->ReadFrame(frame, frame_number);
  }
  ahead_number_ = -1;
  next_ = frame_number + 1;
  if (status == 0) Prefetch(frame_number + 1);
  return status;
}

int PrefetchingReader::ReadNextFrame(VideoFrame& frame) {
  // Reading on from the position is reading the frame at the position; past the end nothing is read.
  if (next_ >= end_) return 0;
  return ReadFrame(frame, next_);
}

int PrefetchingReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  Settle();
  ahead_number_ = -1;
  next_ = frame_number + 1;
  return inner_->ReadFrameRaw(buffer, frame_number);
}

int PrefetchingReader::ReadNextRaw(uint8_t* buffer) {
  if (next_ >= end_) return 0;
  return ReadFrameRaw(buffer, next_);
}

int PrefetchingReader::Close() {
  Settle();
  ahead_number_ = -1;
  return inner_->Close();
}

}  // namespace vidmetra
