#pragma once
// Headerless files of equally sized frames; the user supplies width, height and colour mode.
#include <cstdint>
#include <fstream>
#include <string>

#include "vidmetra/sequence_reader.h"

namespace vidmetra {

class RawYuvReader : public SequenceReader {
 public:
  enum Status : int {
    kOk = 0,
    kReaderError = 1,
    kOpenFailed = 2,
    kReadFailed = 3,
    kBadFrameNumber = 4,
  };

  ~RawYuvReader() override { Close(); }

  // Any reader state is dropped first. Colour modes 2 (YUV 4:4:4) to 7 (Y) are accepted.
  int Open(const std::string& name, int colour_space, int width, int height);

  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override;
  int ReadFrame(VideoFrame& frame, int frame_number) override;
  int ReadNextFrame(VideoFrame& frame) override;
  int Close() override;
  std::string Describe(size_t capacity = kTextCapacity) const override;
  std::string ErrorText(int code, size_t capacity = kTextCapacity) const override;
  bool IsBadFrameNumber(int frame_number) const override;
  bool IsAtEnd() const override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return colour_space_; }
  int FrameCount() const override { return frame_count_; }

  int FrameSize() const { return frame_size_; }
  // Repositionings of the file made by frame reads since the last open; sequential reading makes none.
  int SeekCount() const { return seek_count_; }

 protected:
  size_t RawFrameBytes() const override { return static_cast<size_t>(frame_size_); }
  int MemoryStatus() const override { return kReaderError; }

 private:
  int colour_space_ = 0;
  std::ifstream file_;
  std::string name_;
  int frame_size_ = 0;
  int width_ = 0;
  int height_ = 0;
  int frame_count_ = 0;
  int next_frame_ = 0;
  int seek_count_ = 0;
};

}  // namespace vidmetra
