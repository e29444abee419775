#include "engine_reads.h"

#include <cstdint>

#include "vidmetra/video_frame.h"

namespace vidmetra::fuzz {
namespace {

constexpr int kFramesRead = 4;
// Pictures this large may be real, but their memory is the decoder's to need, not a fault to find here.
constexpr int64_t kMaxPixels = 1 << 22;

}  // namespace

void ReadAsTheEngineDoes(SequenceReader& reader) {
  if (static_cast<int64_t>(reader.Width()) * reader.Height() > kMaxPixels) return;
  reader.Describe();
  VideoFrame frame;
  for (int n = 0; n < kFramesRead && !reader.IsAtEnd(); ++n) reader.ReadNextFrame(frame);
  reader.ReadFrame(frame, 0);
  reader.ReadFrame(frame, reader.FrameCount() - 1);
}

}  // namespace vidmetra::fuzz
