// libFuzzer entry for the AVI reader end to end: the file is parsed, its video stream's decoder (or stored layout)
// chosen, and the first frames and a jump back are read as the engine reads them.
#include <cstdint>

#include "fuzz_input_file.h"
#include "vidmetra/avi_reader.h"
#include "vidmetra/video_frame.h"

namespace {

constexpr int kFramesRead = 4;
// Pictures this large may be real, but their memory is the decoder's to need, not a fault to find here.
constexpr int64_t kMaxPixels = 1 << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vidmetra::fuzz::WriteInput(data, size)) return 0;
  vidmetra::AviReader reader;
  if (reader.Open(vidmetra::fuzz::InputFile(), true, false) != 0) return 0;
  if (static_cast<int64_t>(reader.Width()) * reader.Height() > kMaxPixels) return 0;
  reader.Describe();
  vidmetra::VideoFrame frame;
  for (int n = 0; n < kFramesRead && !reader.IsAtEnd(); ++n) reader.ReadNextFrame(frame);
  reader.ReadFrame(frame, 0);
  reader.ReadFrame(frame, reader.FrameCount() - 1);
  return 0;
}
