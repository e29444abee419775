// Writes the seed corpus of the raw YUV reader fuzzer into the directory given as argument: for every colour mode
// a small picture size and a file of two frames and a piece of a third, behind the fields the fuzzer reads first.
#include <string>
#include <vector>

#include "leading_fields.h"
#include "seed_corpus.h"
#include "vidmetra/colour_space.h"

namespace {

vidmetra::testing::NamedBytes Seed(const std::string& name, int mode, int width, int height, size_t file_bytes) {
  std::vector<uint8_t> fields;
  vidmetra::fuzz::AppendByte(fields, static_cast<uint8_t>(mode));
  vidmetra::fuzz::AppendLe16(fields, static_cast<uint16_t>(width));
  vidmetra::fuzz::AppendLe16(fields, static_cast<uint16_t>(height));
  return vidmetra::fuzz::FieldsThenFile(name, fields, file_bytes, static_cast<uint32_t>(mode));
}

}  // namespace

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  using namespace vidmetra;
  const std::vector<testing::NamedBytes> seeds = {
      Seed("yuv444_4x2", kYuv, 4, 2, 2 * 24 + 5),   Seed("yuy2_4x2", kYuy2, 4, 2, 2 * 16 + 3),
      Seed("uyvy_2x2", kUyvy, 2, 2, 2 * 8 + 1),     Seed("yv12_4x4", kYv12, 4, 4, 2 * 24 + 7),
      Seed("iyuv_6x2", kIyuv, 6, 2, 2 * 18 + 9),    Seed("y_3x3", kY, 3, 3, 2 * 9 + 2),
      Seed("iyuv_odd_5x3", kIyuv, 5, 3, 2 * 21 + 4), Seed("frame_beyond_file", kYuv, 200, 200, 64),
  };
  fuzz::WriteSeeds(*folder, seeds, "");
  return 0;
}
