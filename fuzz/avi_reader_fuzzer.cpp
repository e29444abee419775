// libFuzzer entry for the AVI reader end to end: the file is parsed, its video stream's decoder (or stored layout)
// chosen, and the first frames and a jump back are read as the engine reads them.
#include <cstdint>

#include "engine_reads.h"
#include "fuzz_input_file.h"
#include "vidmetra/avi_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vidmetra::fuzz::WriteInput(data, size)) return 0;
  vidmetra::AviReader reader;
  if (reader.Open(vidmetra::fuzz::InputFile(), true, false) != 0) return 0;
  vidmetra::fuzz::ReadAsTheEngineDoes(reader);
  return 0;
}
