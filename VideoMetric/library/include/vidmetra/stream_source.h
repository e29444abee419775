#pragma once
#include <cstdint>

namespace vidmetra {

// The stream-information record a stream source fills: the fields of the container's stream header.
struct StreamInfo {
  struct Rectangle {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
  };

  uint32_t type = 0;
  uint32_t handler = 0;
  uint32_t flags = 0;
  uint32_t priority = 0;
  uint32_t language = 0;
  uint32_t scale = 0;
  uint32_t rate = 0;
  uint32_t start = 0;
  uint32_t length = 0;
  uint32_t initial_frames = 0;
  uint32_t suggested_buffer_size = 0;
  uint32_t quality = 0;
  uint32_t sample_size = 0;
  Rectangle frame;
};

// One stream of a container, read sample by sample. Sample numbers run from Start() to End().
class StreamSource {
 public:
  virtual ~StreamSource() = default;

  virtual bool IsVideo() const = 0;
  virtual bool IsAudio() const = 0;
  // Reads one sample. bytes_read always receives the sample's size when the sample exists, so a call
  // with a null buffer and capacity 0 asks for the size; the result is false when the capacity is short.
  virtual bool Read(int64_t sample, void* buffer, int64_t capacity, int64_t& bytes_read) = 0;
  virtual bool GetInfo(StreamInfo& info) const = 0;
  virtual bool IsKeyFrame(int64_t sample) const = 0;
  virtual int64_t Length() const = 0;
  virtual int64_t Start() const = 0;
  virtual int64_t End() const = 0;
  virtual int64_t FormatSize() const = 0;
  virtual bool ReadFormat(void* buffer, int64_t size) const = 0;
};

}  // namespace vidmetra
