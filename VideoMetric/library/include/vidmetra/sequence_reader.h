#pragma once
// The one way the engine, the outputs and the viewer read video files, whatever the container.
#include <cstdint>
#include <string>

#include "vidmetra/growable_buffer.h"
#include "vidmetra/status_text.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {

class SequenceReader {
 public:
  virtual ~SequenceReader() = default;

  // Both fill `buffer` with one frame in the reader's tight layout; 0 on success, else the class's status code.
  virtual int ReadFrameRaw(uint8_t* buffer, int frame_number) = 0;
  virtual int ReadNextRaw(uint8_t* buffer) = 0;
  // Format `frame` to the reader's picture (border 0) and fill it; a failed raw read leaves it formatted.
  virtual int ReadFrame(VideoFrame& frame, int frame_number);
  virtual int ReadNextFrame(VideoFrame& frame);
  virtual int Close() = 0;
  virtual std::string Describe(size_t capacity = kTextCapacity) const = 0;
  virtual std::string ErrorText(int code, size_t capacity = kTextCapacity) const = 0;
  virtual bool IsBadFrameNumber(int frame_number) const = 0;
  virtual bool IsAtEnd() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int ColourSpace() const = 0;
  virtual int Rate() const { return 0; }
  virtual int Scale() const { return 1; }
  virtual int FrameCount() const { return 0; }
  virtual int Position() const { return 0; }
  // The number of the first frame: AVI streams may start past 0, and their frames keep the stream's numbers.
  virtual int FirstFrameNumber() const { return 0; }
  // The decoder frames pass through, by its descriptive name; empty for frames read as stored.
  virtual std::string DecoderName() const { return {}; }
  // What the reader knows beyond its status code about why it failed, e.g. a script's own error message.
  virtual std::string FailureDetail() const { return {}; }

 protected:
  // Bytes a raw read writes; readers whose frames are not in the exact tight layout say so here.
  virtual size_t RawFrameBytes() const;
  // Status returned when a frame cannot be formatted or its buffer cannot be had.
  virtual int MemoryStatus() const = 0;
  // Drops the buffer used for frames that cannot be filled in place.
  void ReleaseFrameBuffer() { frame_buffer_.Release(); }

 private:
  template <typename RawRead>
  int FillFrame(VideoFrame& frame, RawRead&& read);

  GrowableBuffer frame_buffer_;
};

}  // namespace vidmetra
