#pragma once
// One 24-bit Windows bitmap read as a sequence of one frame.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "vidmetra/sequence_reader.h"

namespace vidmetra {

class BmpReader : public SequenceReader {
 public:
  enum Status : int {
    kOk = 0,
    kAlreadyDelivered = 1,
    kOpenFailed = 2,
    kNoMemory = 3,
    kBadFile = 4,
    kBadFrameNumber = 5,
  };

  static constexpr size_t kFileHeaderBytes = 14;
  static constexpr size_t kInfoHeaderBytes = 40;

  ~BmpReader() override { Close(); }

  int Open(const std::string& name);

  int ReadFrameRaw(uint8_t* buffer, int frame_number) override;
  int ReadNextRaw(uint8_t* buffer) override;
  int ReadFrame(VideoFrame& frame, int frame_number) override;
  int Close() override;
  std::string Describe(size_t capacity = kTextCapacity) const override;
  std::string ErrorText(int code, size_t capacity = kTextCapacity) const override;
  bool IsBadFrameNumber(int frame_number) const override { return frame_number != 0; }
  bool IsAtEnd() const override { return delivered_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return kRgb24; }
  int FrameCount() const override { return 1; }

 protected:
  int MemoryStatus() const override { return kNoMemory; }

 private:
  std::string name_;
  std::array<uint8_t, kInfoHeaderBytes> info_header_{};
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;
  bool delivered_ = false;
};

// Whether a file's first bytes are a bitmap's: the "BM" signature and a 40-byte information header.
bool LooksLikeBmp(std::span<const uint8_t> head);

}  // namespace vidmetra
