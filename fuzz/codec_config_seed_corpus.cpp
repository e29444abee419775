// Writes the seed corpus of the "codec_config" fuzzer into the directory given as argument: records as the
// program saves them, with and without state, and a few damaged ones.
#include <string>
#include <vector>

#include "seed_corpus.h"
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
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  using vidmetra::SerializeCompressorSettings;
  std::vector<vidmetra::testing::NamedBytes> seeds = {
      {"default", SerializeCompressorSettings(vidmetra::CompressorSettings{})},
      {"ffv1", SerializeCompressorSettings(Settings("FFV1", -1, 0, ""))},
      {"h264", SerializeCompressorSettings(Settings("H264", 7500, 0, "g=250:preset=medium"))},
      {"mpeg4", SerializeCompressorSettings(Settings("FMP4", 5000, 1200, "g=12:bf=2"))},
      {"state_too_long", SerializeCompressorSettings(Settings("FFV1", 0, 0, "level=3:slices=4"))},
      {"state_negative", SerializeCompressorSettings(Settings("MJPG", 9000, 0, "x=1"))},
  };
  vidmetra::StoreLe32(seeds[4].bytes.data() + 20, 0x7FFFFFF0u);
  vidmetra::StoreLe32(seeds[5].bytes.data() + 20, 0xFFFFFFFFu);
  vidmetra::fuzz::WriteSeeds(*folder, seeds, "");
  return 0;
}
