#include "vidmetra/bmp_writer.h"

#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/ffmpeg_tool.h"
#include "support/frame_fill.h"
#include "support/temp_dir.h"
#include "vidmetra/byte_order.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/open_sequence_reader.h"

namespace vidmetra {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

TEST(BmpWriterTest, SixByTwoImageIsNinetyFourBytesWithTheHeadersOfTheLayout) {
  TempDir dir;
  const std::string name = dir.File("small.bmp");
  auto writer = CreateBmpWriter(name, 6, 2);
  ASSERT_NE(writer, nullptr);
  const std::vector<uint8_t> pixels = testing::PatternBytes(40, 7);
  ASSERT_EQ(writer->WriteRaw(pixels.data()), BmpWriter::kOk);
  const std::vector<uint8_t> file = ReadFileBytes(name);
  ASSERT_EQ(file.size(), 94u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(LoadLe32(&file[2]), 94u);
  EXPECT_EQ(LoadLe32(&file[6]), 0u);
  EXPECT_EQ(LoadLe32(&file[10]), 54u);
  EXPECT_EQ(LoadLe32(&file[14]), 40u);
  EXPECT_EQ(LoadLe32(&file[18]), 6u);
  EXPECT_EQ(LoadLe32(&file[22]), 2u);
  EXPECT_EQ(LoadLe16(&file[26]), 1u);
  EXPECT_EQ(LoadLe16(&file[28]), 24u);
  EXPECT_EQ(LoadLe32(&file[30]), 0u);
  EXPECT_EQ(LoadLe32(&file[34]), 40u);
  EXPECT_TRUE(std::all_of(file.begin() + 38, file.begin() + 54, [](uint8_t b) { return b == 0; }));
  EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), file.begin() + 54));
  EXPECT_EQ(writer->Describe(), "file \"" + name + "\" width 6 height 2");
}

TEST(BmpWriterTest, RefusesWrongFramesAndSizes) {
  TempDir dir;
  EXPECT_EQ(CreateBmpWriter(dir.File("a.bmp"), 0, 5), nullptr);
  BmpWriter writer;
  EXPECT_EQ(writer.Open(nullptr, 4, 4), BmpWriter::kOpenFailed);
  EXPECT_EQ(writer.Open(dir.File("a.bmp").c_str(), 16, 0), BmpWriter::kBadDimensions);
  ASSERT_EQ(writer.Open(dir.File("a.bmp").c_str(), 16, 16), BmpWriter::kOk);
  VideoFrame yv12;
  ASSERT_TRUE(yv12.SetFormat(16, 16, kYv12, 0));
  EXPECT_EQ(writer.WriteFrame(yv12), BmpWriter::kBadDimensions);
  VideoFrame other_size;
  ASSERT_TRUE(other_size.SetFormat(16, 32, kRgb24, 0));
  EXPECT_EQ(writer.WriteFrame(other_size), BmpWriter::kBadDimensions);
  EXPECT_EQ(writer.ErrorText(3), "Error when writing file \"" + dir.File("a.bmp") + "\": Failed to write to BMP file!");
  EXPECT_EQ(writer.ErrorText(99), "Error when writing file \"" + dir.File("a.bmp") + "\": Unrecognized error!");
  ASSERT_EQ(writer.Open(dir.File("missing/a.bmp").c_str(), 16, 16), BmpWriter::kOk);
  std::vector<uint8_t> pixels(48 * 16);
  EXPECT_EQ(writer.WriteRaw(pixels.data()), BmpWriter::kOpenFailed);
}

// Padded frames (export path) and exact ones (written from the store) both come out as FFmpeg reads them.
TEST(BmpWriterTest, FramesReadBackThroughFfmpegAsWritten) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  for (const auto& [width, height] : {std::pair{37, 23}, std::pair{32, 16}}) {
    SCOPED_TRACE(width);
    VideoFrame frame;
    ASSERT_TRUE(frame.SetFormat(width, height, kRgb24, 0));
    testing::FillRandom(frame, static_cast<uint32_t>(width));
    const std::string name = dir.File("picture.bmp");
    auto writer = CreateBmpWriter(name, width, height);
    ASSERT_NE(writer, nullptr);
    ASSERT_EQ(writer->WriteFrame(frame), BmpWriter::kOk);
    // Our own reader gives back the tight picture as written.
    std::vector<uint8_t> tight(static_cast<size_t>(RowBytes(kRgb24, width) * height));
    frame.ExportTight(tight.data());
    const auto reader = OpenSequenceReader(name, 0, 0, kRgb24, false);
    ASSERT_NE(reader, nullptr);
    std::vector<uint8_t> read(tight.size());
    ASSERT_EQ(reader->ReadFrameRaw(read.data(), 0), 0);
    EXPECT_EQ(read, tight);
    ASSERT_TRUE(testing::RunFfmpeg("-i '" + name + "' -pix_fmt bgr24 -vf vflip -f rawvideo '" + dir.File("raw") + "'"));
    const std::vector<uint8_t> decoded = ReadFileBytes(dir.File("raw"));
    ASSERT_EQ(decoded.size(), static_cast<size_t>(3 * width * height));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
          ASSERT_EQ(decoded[static_cast<size_t>((y * width + x) * 3 + c)], testing::SampleAt(frame, 0, x, y, c));
        }
      }
    }
  }
}

}  // namespace
}  // namespace vidmetra
