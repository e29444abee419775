#include "vidmetra/aligned_reader.h"

#include <algorithm>

namespace vidmetra {

AlignedReader::AlignedReader(std::unique_ptr<SequenceReader> inner, FrameRange range) : inner_(std::move(inner)) {
  const int frames = inner_->FrameCount();
  skip_ = std::clamp(range.skip, 0, frames);
  count_ = frames - skip_;
  if (range.limit >= 0) count_ = std::min(count_, range.limit);
}

// Every reader reads on without seeking when asked for the frame it stands at, so asking by number keeps
// sequential reading sequential. The adapter's frames are numbered from 0 whatever number the file's first frame
// has. A number outside the range is passed on as one outside the file, so that the status and its text are the
// inner reader's own.
int AlignedReader::ReadFrameRaw(uint8_t* buffer, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return inner_->ReadFrameRaw(buffer, -1);
  next_ = frame_number + 1;
  return inner_->ReadFrameRaw(buffer, inner_->FirstFrameNumber() + skip_ + frame_number);
}

int AlignedReader::ReadNextRaw(uint8_t* buffer) { return IsAtEnd() ? 0 : ReadFrameRaw(buffer, next_); }

int AlignedReader::ReadFrame(VideoFrame& frame, int frame_number) {
  if (IsBadFrameNumber(frame_number)) return inner_->ReadFrame(frame, -1);
  next_ = frame_number + 1;
  return inner_->ReadFrame(frame, inner_->FirstFrameNumber() + skip_ + frame_number);
}

int AlignedReader::ReadNextFrame(VideoFrame& frame) { return IsAtEnd() ? 0 : ReadFrame(frame, next_); }

int AlignedReader::Close() {
  next_ = 0;
  return inner_->Close();
}

std::string AlignedReader::Describe(size_t capacity) const {
  // What was left out comes first, so that the cut to the capacity never hides it.
  const std::string of = " of " + std::to_string(inner_->FrameCount()) + ": ";
  const std::string range = count_ > 0 ? "frames " + std::to_string(skip_) + " to " + std::to_string(skip_ + count_ - 1) + of
                                       : "no frames after skipping " + std::to_string(skip_) + of;
  return CutToCapacity(range + inner_->Describe(capacity), capacity);
}

std::unique_ptr<SequenceReader> AlignReader(std::unique_ptr<SequenceReader> reader, FrameRange range) {
  if (!reader || range.IsWhole()) return reader;
  return std::make_unique<AlignedReader>(std::move(reader), range);
}

}  // namespace vidmetra
