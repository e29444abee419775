// Writes the seed corpus of the "codec_config" fuzzer into the directory given as argument: records as the
// program saves them, with and without state, and a few damaged ones.
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/byte_files.h"
#include "vidmetra/byte_order.h"
#include "vidmetra/compressor_settings.h"

namespace {

vidmetra::CompressorSettings Settings(const char (&handler)[5], int32_t quality, int32_t data_rate,
                                      const std::string& state) {
  vidmetra::CompressorSettings settings;
  settings.fcc_type = vidmetra::kVideoCompressorType;
  settings.fcc_handler = vidmetra::FourCc(handler);
  settings.quality = quality;
  settings.data_rate = data_rate;
  settings.SetStateText(state);
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s corpus-directory\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  std::filesystem::create_directories(directory);
  auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    vidmetra::testing::WriteBytes((directory / name).string(), bytes);
  };
  write("default", vidmetra::SerializeCompressorSettings(vidmetra::CompressorSettings{}));
  write("ffv1", vidmetra::SerializeCompressorSettings(Settings("FFV1", -1, 0, "")));
  write("h264", vidmetra::SerializeCompressorSettings(Settings("H264", 7500, 0, "g=250:preset=medium")));
  write("mpeg4", vidmetra::SerializeCompressorSettings(Settings("FMP4", 5000, 1200, "g=12:bf=2")));
  std::vector<uint8_t> long_state = vidmetra::SerializeCompressorSettings(Settings("FFV1", 0, 0, "level=3:slices=4"));
  vidmetra::StoreLe32(long_state.data() + 20, 0x7FFFFFF0u);
  write("state_too_long", long_state);
  std::vector<uint8_t> negative = vidmetra::SerializeCompressorSettings(Settings("MJPG", 9000, 0, "x=1"));
  vidmetra::StoreLe32(negative.data() + 20, 0xFFFFFFFFu);
  write("state_negative", negative);
  return 0;
}
