#pragma once
// Reads the next frame on a thread of the pool while the caller measures the current one. Frames come out
// exactly as the wrapped reader delivers them; only the work moves to another thread.
#include <memory>

#include "vidmetra/sequence_reader.h"
#include "vidmetra/task_pool.h"

namespace vidmetra {

class PrefetchingReader : public SequenceReader, private TaskPool::Job {
 public:
  PrefetchingReader(std::unique_ptr<SequenceReader> inner, TaskPool& pool);
  ~PrefetchingReader() override;

  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override;
  int ReadFrame(VideoFrame& frame, int frame_number) override;
  int ReadNextFrame(VideoFrame& frame) override;
  int Close() override;
  std::string Describe(size_t capacity) const override { return inner_->Describe(capacity); }
  std::string ErrorText(int code, size_t capacity) const override { return inner_->ErrorText(code, capacity); }
  bool IsBadFrameNumber(int frame_number) const override { return frame_number < first_ || frame_number >= end_; }
  bool IsAtEnd() const override { return next_ >= end_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return colour_space_; }
  int Rate() const override { return rate_; }
  int Scale() const override { return scale_; }
  int FrameCount() const override { return frame_count_; }
  int Position() const override { return next_ - first_; }
  int FirstFrameNumber() const override { return first_; }
  std::string DecoderName() const override { return decoder_name_; }

 protected:
  int MemoryStatus() const override { return -1; }

 private:
  void Prefetch(int frame_number);
  void RunPart(int) override;
  // Waits until the frame read ahead (if any) is in.
  void Settle() { pool_.Finish(*this); }

  std::unique_ptr<SequenceReader> inner_;
  TaskPool& pool_;
  // The wrapped reader's fixed properties, so they can be answered while a read is under way.
  int width_, height_, colour_space_, rate_, scale_, frame_count_, first_, end_;
  std::string decoder_name_;
  int next_;

  VideoFrame ahead_;
  int ahead_number_ = -1;
  int ahead_status_ = 0;
};

}  // namespace vidmetra
