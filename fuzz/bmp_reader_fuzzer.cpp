// libFuzzer entry for the BMP reader: every input is opened as a bitmap and, when it opens, read into a frame.
#include <cstdint>

#include "fuzz_input_file.h"
#include "vidmetra/bmp_reader.h"
#include "vidmetra/video_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vidmetra::fuzz::WriteInput(data, size, ".bmp")) return 0;
  vidmetra::BmpReader reader;
  if (reader.Open(vidmetra::fuzz::InputFile(".bmp")) != 0) return 0;
  vidmetra::VideoFrame frame;
  reader.ReadFrame(frame, 0);
  reader.ReadNextFrame(frame);
  reader.Describe();
  return 0;
}
