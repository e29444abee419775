// Writes the seed corpus of the sequence and group-BMP fuzzer into the directory given as argument: for each tool
// a small picture size, a frame range and a file of a few whole frames and a piece of one more, behind the fields
// the fuzzer reads first.
#include <string>
#include <vector>

#include "seed_corpus.h"

namespace {

// `tool` as the fuzzer numbers them: 0 cuts a sequence, 1 compares two, 2 converts a group-BMP file.
vidmetra::testing::NamedBytes Seed(const std::string& name, uint8_t tool, uint8_t half_width, uint8_t half_height,
                                   uint8_t first, uint8_t last, size_t frame_bytes, size_t frames) {
  return vidmetra::fuzz::FieldsThenFile(name, {tool, half_width, half_height, first, last},
                                        frames * frame_bytes + frame_bytes / 2, tool);
}

}  // namespace

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  // A 4 × 2 picture: 12 bytes per sequence frame, 24 per group-BMP frame.
  const std::vector<vidmetra::testing::NamedBytes> seeds = {
      Seed("cut_all", 0, 2, 1, 0, 9, 12, 3),          Seed("cut_middle", 0, 2, 1, 1, 1, 12, 3),
      Seed("cut_beyond_end", 0, 2, 1, 5, 6, 12, 3),   Seed("compare_halves", 1, 2, 1, 0, 3, 12, 4),
      Seed("compare_from_one", 1, 2, 1, 1, 2, 12, 6), Seed("group_all", 2, 2, 1, 0, 9, 24, 3),
      Seed("group_from_two", 2, 2, 1, 2, 3, 24, 4),   Seed("odd_size_refused", 0, 0, 1, 0, 1, 12, 1),
  };
  vidmetra::fuzz::WriteSeeds(*folder, seeds, "");
  return 0;
}
