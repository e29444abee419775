#pragma once
// Reads the next frame on a second core while the caller measures the current one. Frames come out exactly as
// the wrapped reader delivers them; only the work moves to another thread.
#include <memory>

#include "vidmetra/background_task.h"
#include "vidmetra/sequence_reader.h"

namespace vidmetra {

class PrefetchingReader : public SequenceReader {
 public:
  explicit PrefetchingReader(std::unique_ptr<SequenceReader> inner);

  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override;
  int ReadFrame(VideoFrame& frame, int frame_number) override;
  int ReadNextFrame(VideoFrame& frame) override;
  int Close() override;
  std::string Describe(size_t capacity) const override { return inner_->Describe(capacity); }
  std::string ErrorText(int code, size_t capacity) const override { return inner_->ErrorText(code, capacity); }
  bool IsBadFrameNumber(int frame_number) const override { return frame_number < 0 || frame_number >= frame_count_; }
  bool IsAtEnd() const override { return next_ >= frame_count_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return colour_space_; }
  int Rate() const override { return rate_; }
  int Scale() const override { return scale_; }
  int FrameCount() const override { return frame_count_; }
  int Position() const override { return next_; }
  std::string DecoderName() const override { return decoder_name_; }

 protected:
  int MemoryStatus() const override { return -1; }

 private:
  void Prefetch(int frame_number);

  std::unique_ptr<SequenceReader> inner_;
  // The wrapped reader's fixed properties, so they can be answered while a read is under way.
  int width_, height_, colour_space_, rate_, scale_, frame_count_;
  std::string decoder_name_;
  int next_ = 0;

  VideoFrame ahead_;
  int ahead_number_ = -1;
  int ahead_status_ = 0;
  BackgroundTask reading_;  // last, so that it stops before the frames it writes go
};

}  // namespace vidmetra
