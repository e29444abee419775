// libFuzzer entry for the raw YUV reader. A raw file carries neither size nor colour mode; the user gives them, so
// they come from the input's first five bytes (mode, then width and height as signed 16-bit numbers) and the rest
// is the file. Whatever they say, the reader must count only the whole frames the file holds and read nothing
// beyond them.
#include <cstdint>
#include <cstdlib>

#include "fuzz_input_file.h"
#include "leading_fields.h"
#include "vidmetra/raw_yuv_reader.h"
#include "vidmetra/video_frame.h"

namespace {

constexpr int kFramesRead = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vidmetra::fuzz::LeadingFields fields(data, size);
  const int mode = fields.Byte();
  const int width = static_cast<int16_t>(fields.Le16());
  const int height = static_cast<int16_t>(fields.Le16());
  if (!fields.Complete() || !vidmetra::fuzz::WriteInput(fields.Rest(), fields.RestSize(), ".yuv")) return 0;
  vidmetra::RawYuvReader reader;
  if (reader.Open(vidmetra::fuzz::InputFile(".yuv"), mode, width, height) != vidmetra::RawYuvReader::kOk) return 0;
  const auto file_bytes = static_cast<int64_t>(fields.RestSize());
  if (reader.FrameSize() <= 0 || static_cast<int64_t>(reader.FrameCount()) * reader.FrameSize() > file_bytes) {
    std::abort();
  }
  reader.Describe();
  vidmetra::VideoFrame frame;
  for (int n = 0; n < kFramesRead && !reader.IsAtEnd(); ++n) {
    if (reader.ReadNextFrame(frame) != vidmetra::RawYuvReader::kOk) std::abort();  // the file does not change
  }
  const int last = reader.FrameCount() - 1;
  if (last >= 0 && reader.ReadFrame(frame, last) != vidmetra::RawYuvReader::kOk) std::abort();
  if (reader.ReadFrame(frame, last + 1) != vidmetra::RawYuvReader::kBadFrameNumber) std::abort();
  if (reader.ReadFrame(frame, -1) != vidmetra::RawYuvReader::kBadFrameNumber) std::abort();
  return 0;
}
