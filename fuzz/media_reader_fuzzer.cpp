// libFuzzer entry for the media reader end to end: libavformat demuxes the file, the packets are indexed, the
// video stream's decoder is started, and the first frames, a jump back and a jump to the last frame are read as the
// engine and the frame window read them.
#include <cstdint>

#include "engine_reads.h"
#include "fuzz_input_file.h"
#include "vidmetra/media_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vidmetra::fuzz::WriteInput(data, size)) return 0;
  vidmetra::MediaFileReader reader;
  if (reader.Open(vidmetra::fuzz::InputFile()) != 0) return 0;
  vidmetra::fuzz::ReadAsTheEngineDoes(reader);
  return 0;
}
