#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "vidmetra/sequence_writer.h"

namespace vidmetra {

// Writes one 24-bit bottom-up Windows bitmap; every write replaces the whole file, so the writer holds one image.
class BmpWriter final : public SequenceWriter {
 public:
  enum Status : int { kOk = 0, kBadDimensions = 1, kOpenFailed = 2, kWriteFailed = 3, kNoMemory = 4 };

  ~BmpWriter() override { Close(); }

  int Open(const char* name, int width, int height);
  int WriteFrame(const VideoFrame& frame) override;
  int WriteRaw(const uint8_t* buffer) override;
  std::string Describe(size_t capacity = kTextCapacity) const override;
  std::string ErrorText(int code, size_t capacity = kTextCapacity) const override;
  int Close() override;

 private:
  std::string name_;
  int width_ = 0;
  int height_ = 0;
  int64_t row_bytes_ = 0;
};

// A writer opened for the name and picture size, or null when it cannot be opened.
std::unique_ptr<BmpWriter> CreateBmpWriter(const std::string& name, int width, int height);

}  // namespace vidmetra
