#pragma once
// Frame alignment of one input: the first frames dropped and the rest cut to a count, so that frame 0 of the
// adapter is frame `skip` of the file. Everything above it (the driver, its CSV frame numbers, the viewer) sees
// only the aligned range.
#include <memory>

#include "vidmetra/sequence_reader.h"

namespace vidmetra {

struct FrameRange {
  int skip = 0;      // frames dropped at the start
  int limit = -1;    // at most this many frames after them; negative: all
  bool IsWhole() const { return skip <= 0 && limit < 0; }
};

class AlignedReader : public SequenceReader {
 public:
  AlignedReader(std::unique_ptr<SequenceReader> inner, FrameRange range);

  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override;
  int ReadFrame(VideoFrame& frame, int frame_number) override;
  int ReadNextFrame(VideoFrame& frame) override;
  int Close() override;
  std::string Describe(size_t capacity) const override;
  std::string ErrorText(int code, size_t capacity) const override { return inner_->ErrorText(code, capacity); }
  bool IsBadFrameNumber(int frame_number) const override { return frame_number < 0 || frame_number >= count_; }
  bool IsAtEnd() const override { return next_ >= count_; }
  int Width() const override { return inner_->Width(); }
  int Height() const override { return inner_->Height(); }
  int ColourSpace() const override { return inner_->ColourSpace(); }
  int Rate() const override { return inner_->Rate(); }
  int Scale() const override { return inner_->Scale(); }
  int FrameCount() const override { return count_; }
  int Position() const override { return next_; }
  std::string DecoderName() const override { return inner_->DecoderName(); }
  std::string FailureDetail() const override { return inner_->FailureDetail(); }

  // The frames of the file the adapter passes over at the start, as they came to be (fewer when the file is
  // shorter than asked).
  int Skipped() const { return skip_; }

 protected:
  int MemoryStatus() const override { return -1; }

 private:
  std::unique_ptr<SequenceReader> inner_;
  int skip_ = 0;
  int count_ = 0;
  int next_ = 0;
};

// The reader itself for a whole range, else the adapter over it.
std::unique_ptr<SequenceReader> AlignReader(std::unique_ptr<SequenceReader> reader, FrameRange range);

}  // namespace vidmetra
