#include "vidmetra/sequence_reader.h"

#include <algorithm>

namespace vidmetra {

size_t SequenceReader::RawFrameBytes() const {
  return static_cast<size_t>(TightFrameBytes(ColourSpace(), Width(), Height()));
}

template <typename RawRead>
int SequenceReader::FillFrame(VideoFrame& frame, RawRead&& read) {
  if (!frame.SetFormat(Width(), Height(), ColourSpace(), 0)) return MemoryStatus();
  if (frame.alloc_width() == Width() && frame.alloc_height() == Height()) return read(frame.data());
  // Rows already of the tight width (a height that is not a multiple of 16): read into the store and move the
  // planes apart there, rather than copying the whole frame from a buffer.
  if (frame.CanImportInPlace() && RawFrameBytes() == static_cast<size_t>(TightFrameBytes(ColourSpace(), Width(), Height()))) {
    const int status = read(frame.data());
    if (status == 0) frame.ImportTightInPlace();
    return status;
  }
  // The import reads a whole tight frame, so the buffer must hold it even where the raw frame is shorter.
  const size_t bytes = std::max(RawFrameBytes(), static_cast<size_t>(TightFrameBytes(ColourSpace(), Width(), Height())));
  uint8_t* buffer = frame_buffer_.Ensure(bytes);
  if (buffer == nullptr) return MemoryStatus();
  const int status = read(buffer);
  if (status == 0) frame.ImportTight(buffer);
  return status;
}

int SequenceReader::ReadFrame(VideoFrame& frame, int frame_number) {
  return FillFrame(frame, [&](uint8_t* buffer) { return ReadFrameRaw(buffer, frame_number); });
}

int SequenceReader::ReadNextFrame(VideoFrame& frame) {
  return FillFrame(frame, [&](uint8_t* buffer) { return ReadNextRaw(buffer); });
}

}  // namespace vidmetra
