// Bitmap files: what the tools and the viewer read and write, and what they refuse.
#include "vidmetra/converters/dib_file.h"

#include <gtest/gtest.h>

#include "converter_fixtures.h"
#include "support/byte_files.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "vidmetra/byte_order.h"

namespace vidmetra::converters {
namespace {

using testing::TempDir;

DibImage PalettedBitmap(int width, int height, uint16_t bit_count, uint32_t seed) {
  DibImage image;
  image.info.width = width;
  image.info.height = height;
  image.info.bit_count = bit_count;
  image.colour_table = testing::PatternBytes(4u << bit_count, seed);
  image.pixels = testing::PatternBytes(image.Stride() * static_cast<size_t>(height), seed + 1);
  return image;
}

TEST(DibFile, PalettedAndTrueColourBitmapsSurviveWriteAndRead) {
  TempDir dir;
  for (const DibImage& written : {PalettedBitmap(13, 5, 1, 1), PalettedBitmap(7, 3, 4, 2), PalettedBitmap(5, 4, 8, 3),
                                  testing::RandomBgrBitmap(6, 3, 4)}) {
    const std::string path = dir.File("picture.bmp");
    ASSERT_TRUE(WriteDibFile(path, written));
    const std::vector<uint8_t> bytes = testing::ReadFileBytes(path);
    EXPECT_EQ(bytes.size(),
              54 + written.colour_table.size() + written.Stride() * static_cast<size_t>(written.info.height));
    EXPECT_EQ(LoadLe32(bytes.data() + 10), 54 + written.colour_table.size());
    DibImage read;
    ASSERT_EQ(ReadDibFile(path, read), DibLoad::kLoaded) << written.info.bit_count;
    EXPECT_EQ(read.info.width, written.info.width);
    EXPECT_EQ(read.info.height, written.info.height);
    EXPECT_EQ(read.info.bit_count, written.info.bit_count);
    EXPECT_EQ(read.colour_table, written.colour_table);
    EXPECT_EQ(read.pixels, written.pixels);
    EXPECT_EQ(read.info.image_size, read.pixels.size());
  }
}

// Stores `value` little-endian at `offset` of `bytes`.
void Patch(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  for (int k = 0; k < 4; ++k) bytes[offset + static_cast<size_t>(k)] = static_cast<uint8_t>(value >> (8 * k));
}

TEST(DibFile, HeadersThatDoNotFitTheFileAreRefusedBeforeAnythingIsAllocated) {
  TempDir dir;
  const std::string good = dir.File("good.bmp");
  ASSERT_TRUE(WriteDibFile(good, PalettedBitmap(8, 4, 8, 9)));
  const std::vector<uint8_t> valid = testing::ReadFileBytes(good);
  struct Damage {
    const char* what;
    size_t offset;
    uint32_t value;
  };
  const Damage damages[] = {
      {"information header of the old 12-byte form", 14, 12},
      {"width of two billion", 18, 0x7fffffff},
      {"height of two billion", 22, 0x7fffffff},
      {"negative width", 18, 0xfffffff0},
      {"no height", 22, 0},
      {"bit count 7", 28, 7},
      {"bit fields", 30, 3},
      {"run-length compression at 24 bits", 28, 24 | (1u << 16)},
      {"more colours than 8 bits can index", 46, 257},
      {"pixel offset past the end", 10, 1u << 30},
      {"pixel offset inside the colour table", 10, 60},
  };
  for (const Damage& damage : damages) {
    std::vector<uint8_t> bytes = valid;
    Patch(bytes, damage.offset, damage.value);
    testing::WriteBytes(dir.File("bad.bmp"), bytes);
    DibImage image;
    EXPECT_EQ(ReadDibFile(dir.File("bad.bmp"), image), DibLoad::kInvalid) << damage.what;
  }
  for (const size_t length : {size_t{0}, size_t{30}, size_t{54}, valid.size() - 1}) {
    testing::WriteBytes(dir.File("short.bmp"), testing::Slice(valid, 0, length));
    DibImage image;
    EXPECT_EQ(ReadDibFile(dir.File("short.bmp"), image), DibLoad::kInvalid) << length;
  }
  DibImage image;
  EXPECT_EQ(ReadDibFile(dir.File("absent.bmp"), image), DibLoad::kMissing);
}

TEST(DibFile, ReadsBitmapsFfmpegWrote) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  // Width 6: rows of 18 bytes padded to 20.
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc=size=6x4:rate=1 -frames:v 1 -pix_fmt bgr24 " +
                                 dir.File("true.bmp") + " -frames:v 1 -f rawvideo -pix_fmt rgb24 " +
                                 dir.File("true.rgb")));
  DibImage image;
  ASSERT_EQ(ReadDibFile(dir.File("true.bmp"), image), DibLoad::kLoaded);
  EXPECT_EQ(image.info.bit_count, 24);
  EXPECT_EQ(testing::TopDownRgb(image), testing::ReadFileBytes(dir.File("true.rgb")));

  ASSERT_TRUE(
      testing::RunFfmpeg("-f lavfi -i testsrc=size=10x4:rate=1 -frames:v 1 -pix_fmt pal8 " + dir.File("paletted.bmp")));
  ASSERT_EQ(ReadDibFile(dir.File("paletted.bmp"), image), DibLoad::kLoaded);
  EXPECT_EQ(image.info.bit_count, 8);
  EXPECT_EQ(image.ColourCount(), 256u);
  EXPECT_EQ(image.pixels.size(), 12u * 4u);
}

}  // namespace
}  // namespace vidmetra::converters
