// Writes the seed corpus of the converters' bitmap reader fuzzer into the directory given as argument: one small
// bitmap of every depth and compression the reader takes, as the tools write them, and the BMP reader's seeds.
#include <string>
#include <vector>

#include "seed_corpus.h"
#include "support/bmp_seeds.h"
#include "support/byte_files.h"
#include "vidmetra/converters/dib_file.h"

namespace {

namespace converters = vidmetra::converters;

vidmetra::testing::NamedBytes Bitmap(const std::string& name, int width, int height, uint16_t bit_count,
                                     uint32_t compression = converters::kDibUncompressed,
                                     std::vector<uint8_t> run_lengths = {}) {
  converters::DibImage image;
  image.info.width = width;
  image.info.height = height;
  image.info.bit_count = bit_count;
  image.info.compression = compression;
  if (bit_count <= 8) image.colour_table = vidmetra::testing::PatternBytes(4u << bit_count, bit_count);
  if (image.IsCompressed()) {
    image.info.image_size = static_cast<uint32_t>(run_lengths.size());
    image.pixels = std::move(run_lengths);
  } else {
    image.pixels = vidmetra::testing::PatternBytes(image.StoredImageBytes(), 3);
  }
  return {name, converters::DibFileBytes(image)};
}

}  // namespace

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  // Runs, an absolute run, end of line, a jump and end of bitmap, as run-length bitmaps store them.
  const std::vector<uint8_t> rle8 = {2, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 3, 9, 0, 1};
  const std::vector<uint8_t> rle4 = {4, 0x12, 0, 4, 0x34, 0x56, 0, 0, 2, 0x7F, 0, 1};
  const std::vector<vidmetra::testing::NamedBytes> seeds = {
      Bitmap("mono_9x3", 9, 3, 1),     Bitmap("nibbles_5x2", 5, 2, 4), Bitmap("indexed_4x4", 4, 4, 8),
      Bitmap("rgb16_3x2", 3, 2, 16),   Bitmap("rgb24_4x2", 4, 2, 24),  Bitmap("rgb24_5x3", 5, 3, 24),
      Bitmap("rgb32_2x2", 2, 2, 32),   Bitmap("rle8_6x3", 6, 3, 8, converters::kDibRle8, rle8),
      Bitmap("rle4_6x2", 6, 2, 4, converters::kDibRle4, rle4),
  };
  vidmetra::fuzz::WriteSeeds(*folder, seeds, ".bmp");
  vidmetra::fuzz::WriteSeeds(*folder, vidmetra::testing::BmpSeedFiles(), ".bmp");
  return 0;
}
