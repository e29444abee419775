// libFuzzer entry for the AVI container parser: every input is opened as a file and, when it
// opens, every stream is queried and read as a reader would.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_input_file.h"
#include "vidmetra/avi_container.h"

namespace {

// Reads per stream are capped so that one input cannot spend the whole time budget on samples.
constexpr int64_t kSamplesPerStream = 256;

void ExerciseStream(vidmetra::ContainerStream& stream, size_t input_size) {
  vidmetra::StreamInfo info;
  stream.GetInfo(info);
  std::vector<uint8_t> buffer(static_cast<size_t>(stream.FormatSize()));
  stream.ReadFormat(buffer.data(), static_cast<int64_t>(buffer.size()));
  const int64_t last = std::min(stream.End(), stream.Start() + kSamplesPerStream - 1);
  for (int64_t sample = stream.Start() - 1; sample <= last + 1; ++sample) {
    int64_t size = 0;
    stream.Read(sample, nullptr, 0, size);
    // A sample larger than the input cannot be read anyway; a reader would fail it the same way.
    buffer.resize(static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(size), input_size)));
    stream.Read(sample, buffer.data(), static_cast<int64_t>(buffer.size()), size);
    stream.IsKeyFrame(sample);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vidmetra::fuzz::WriteInput(data, size)) return 0;
  vidmetra::AviContainer container;
  if (!container.Open(vidmetra::fuzz::InputFile())) return 0;
  for (int32_t number = 0; number < container.StreamCount(); ++number) {
    if (vidmetra::ContainerStream* stream = container.Stream(number)) ExerciseStream(*stream, size);
  }
  container.VideoStream(0);
  container.AudioStream(1);
  return 0;
}
