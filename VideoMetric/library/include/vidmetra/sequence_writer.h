#pragma once
// The one way the outputs write frames, whatever the container.
#include <cstdint>
#include <string>

#include "vidmetra/status_text.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {

class SequenceWriter {
 public:
  virtual ~SequenceWriter() = default;

  virtual int WriteFrame(const VideoFrame& frame) = 0;
  virtual int WriteRaw(const uint8_t* buffer) = 0;
  virtual std::string Describe(size_t capacity = kTextCapacity) const = 0;
  virtual std::string ErrorText(int code, size_t capacity = kTextCapacity) const = 0;
  virtual int Close() = 0;
};

}  // namespace vidmetra
