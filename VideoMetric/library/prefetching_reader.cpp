#include "vidmetra/prefetching_reader.h"

namespace vidmetra {

PrefetchingReader::PrefetchingReader(std::unique_ptr<SequenceReader> inner)
    : inner_(std::move(inner)),
      width_(inner_->Width()),
      height_(inner_->Height()),
      colour_space_(inner_->ColourSpace()),
      rate_(inner_->Rate()),
      scale_(inner_->Scale()),
      frame_count_(inner_->FrameCount()),
      worker_([this] { Work(); }) {}

PrefetchingReader::~PrefetchingReader() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  worker_.join();
}

void PrefetchingReader::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || quit_; });
    if (quit_) return;
    lock.unlock();
    const int status = inner_->ReadFrame(ahead_, ahead_number_);
    lock.lock();
    ahead_status_ = status;
    busy_ = false;
    changed_.notify_all();
  }
}

void PrefetchingReader::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
}

void PrefetchingReader::Prefetch(int frame_number) {
  if (frame_number >= frame_count_) return;
  {
    std::lock_guard lock(mutex_);
    ahead_number_ = frame_number;
    busy_ = true;
  }
  changed_.notify_all();
}

int PrefetchingReader::ReadFrame(VideoFrame& frame, int frame_number) {
  Wait();
  int status;
  if (ahead_number_ == frame_number && frame_number >= 0) {
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
  if (next_ >= frame_count_) return 0;
  return ReadFrame(frame, next_);
}

int PrefetchingReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  Wait();
  ahead_number_ = -1;
  next_ = frame_number + 1;
  return inner_->ReadFrameRaw(buffer, frame_number);
}

int PrefetchingReader::ReadNextRaw(uint8_t* buffer) {
  if (next_ >= frame_count_) return 0;
  return ReadFrameRaw(buffer, next_);
}

int PrefetchingReader::Close() {
  Wait();
  ahead_number_ = -1;
  return inner_->Close();
}

}  // namespace vidmetra
