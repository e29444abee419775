// Numbered names, the sequence layout and the tools' colour formulas.
#include <gtest/gtest.h>

#include <random>

#include "converter_fixtures.h"
#include "vidmetra/converters/numbered_name.h"
#include "vidmetra/converters/picture_size.h"
#include "vidmetra/converters/tool_colour.h"

namespace vidmetra::converters {
namespace {

TEST(NumberedName, PadsWithZerosToThePlaceholderLengthAndKeepsLongerNumbersWhole) {
  EXPECT_EQ(FrameNumberText(7, 3), "007");
  EXPECT_EQ(FrameNumberText(7, 0), "7");
  EXPECT_EQ(FrameNumberText(123, 2), "123");
  EXPECT_EQ(NumberedFileName("D:\\clips\\", "foreman.(*)", 12, 3, ""), "D:\\clips\\foreman.012");
  EXPECT_EQ(NumberedFileName("dir", "a(*)b(*)", 5, 2, ".bmp"), "dira05b05.bmp");
  EXPECT_EQ(NumberedFileName("", "plain", 5, 2, ".y"), "plain.y");
}

TEST(SequenceLayout, FrameSizesAndOffsets) {
  const PictureSize cif{176, 144};
  EXPECT_EQ(cif.SequenceFrameBytes(), 38016u);
  EXPECT_EQ(cif.SequenceFrameOffset(10), 380160u);
  EXPECT_EQ(cif.ChromaPlaneBytes(), 6336u);
  EXPECT_EQ((PictureSize{6, 2}.PaddedBgrRowBytes()), 20u);
  EXPECT_EQ((PictureSize{8, 2}.PaddedBgrRowBytes()), 24u);
  EXPECT_FALSE(IsUsablePictureSize(PictureSize{7, 2}));
  EXPECT_FALSE(IsUsablePictureSize(PictureSize{0, 2}));
  EXPECT_TRUE(IsUsableBitmapSize(PictureSize{7, 3}));
}

TEST(ToolColour, WhiteAndRed) {
  const Yuv8 white = ToolRgbToYuv(255, 255, 255);
  EXPECT_EQ(white.y, 255);
  EXPECT_EQ(white.u, 128);
  EXPECT_EQ(white.v, 128);
  const Bgr8 back = ToolYuvToRgb(255, 128, 128);
  EXPECT_EQ(back.r, 255);
  EXPECT_EQ(back.g, 255);
  EXPECT_EQ(back.b, 255);
  const Yuv8 red = ToolRgbToYuv(255, 0, 0);
  EXPECT_EQ(red.y, 76);
  EXPECT_EQ(red.u, 84);
  EXPECT_EQ(red.v, 255);
}

// Padded rows (widths 6 and 10 are not multiples of 4) must neither be read as pixels nor shift later rows.
TEST(ToolColour, FramesFromPaddedBitmapsMatchThePlainFormulas) {
  for (const PictureSize size : {PictureSize{6, 4}, PictureSize{10, 6}, PictureSize{16, 8}}) {
    const DibImage image = testing::RandomBgrBitmap(size.width, size.height, static_cast<uint32_t>(size.width));
    std::vector<uint8_t> frame(size.SequenceFrameBytes());
    SequenceFrameFromBgr converter(size);
    converter.Convert(image.pixels.data(), image.Stride(), frame.data());
    EXPECT_EQ(frame, testing::ReferenceSequenceFrame(testing::TopDownRgb(image), size.width, size.height))
        << size.width << "x" << size.height;
  }
}

TEST(ToolColour, BitmapsFromFramesMatchThePlainFormulas) {
  const PictureSize size{10, 6};
  std::vector<uint8_t> frame(size.SequenceFrameBytes());
  std::mt19937 random(5);
  for (uint8_t& byte : frame) byte = static_cast<uint8_t>(random());
  DibImage image = DibImage::Bgr24(size);
  SequencePlanesToBgr(size, frame.data(), frame.data() + size.Pixels(),
                      frame.data() + size.Pixels() + size.ChromaPlaneBytes(), image.pixels.data(), image.Stride());
  EXPECT_EQ(testing::TopDownRgb(image), testing::ReferenceRgb(frame, size.width, size.height));
  // The padding after each row stays zero.
  for (int row = 0; row < size.height; ++row) {
    EXPECT_EQ(image.pixels[static_cast<size_t>(row) * image.Stride() + 30], 0);
    EXPECT_EQ(image.pixels[static_cast<size_t>(row) * image.Stride() + 31], 0);
  }
}

}  // namespace
}  // namespace vidmetra::converters
