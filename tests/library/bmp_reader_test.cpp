#include "vidmetra/bmp_reader.h"

#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/decoded_reference.h"
#include "support/ffmpeg_tool.h"
#include "support/bmp_seeds.h"
#include "support/temp_dir.h"
#include <filesystem>
#include "vidmetra/colour_space.h"
#include "vidmetra/open_sequence_reader.h"

namespace vidmetra {
namespace {

using testing::BitmapBytes;

class BmpReaderTest : public ::testing::Test {
 protected:
  std::string File(const std::vector<uint8_t>& bytes) {
    const std::string path = dir_.File("image" + std::to_string(++count_) + ".bmp");
    testing::WriteBytes(path, bytes);
    return path;
  }

  testing::TempDir dir_;
  int count_ = 0;
};

TEST_F(BmpReaderTest, DeliversTheOneImageAsOften_AsItIsAskedFor) {
  const std::vector<uint8_t> bytes = BitmapBytes(6, 2, 40, 24, 40);
  const std::string path = File(bytes);
  BmpReader reader;
  ASSERT_EQ(reader.Open(path), BmpReader::kOk);
  EXPECT_EQ(reader.Width(), 6);
  EXPECT_EQ(reader.Height(), 2);
  EXPECT_EQ(reader.ColourSpace(), kRgb24);
  EXPECT_EQ(reader.FrameCount(), 1);
  EXPECT_EQ(reader.Describe(), "file \"" + path + "\" width 6 height 2");
  EXPECT_FALSE(reader.IsBadFrameNumber(0));
  EXPECT_TRUE(reader.IsBadFrameNumber(1));
  EXPECT_FALSE(reader.IsAtEnd());

  const std::vector<uint8_t> pixels(bytes.begin() + 54, bytes.end());
  std::vector<uint8_t> buffer(40);
  for (int repeat = 0; repeat < 2; ++repeat) {
    std::fill(buffer.begin(), buffer.end(), 0);
    ASSERT_EQ(reader.ReadFrameRaw(buffer.data(), 0), BmpReader::kOk);
    EXPECT_EQ(buffer, pixels);
  }
  EXPECT_TRUE(reader.IsAtEnd());
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), BmpReader::kAlreadyDelivered);
  EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), 1), BmpReader::kBadFrameNumber);
  EXPECT_TRUE(reader.ErrorText(5).ends_with("Bad frame number occured!"));

  VideoFrame frame;
  ASSERT_EQ(reader.ReadFrame(frame, 0), BmpReader::kOk);
  EXPECT_EQ(frame.width(), 6);
  EXPECT_EQ(frame.Plane(0).origin[3 * 5 + 2], pixels[3 * 5 + 2]);
  EXPECT_EQ(reader.ReadNextFrame(frame), BmpReader::kAlreadyDelivered);
}

TEST_F(BmpReaderTest, HeadersItCannotReadAndHostileSizesFailWithStatus4) {
  BmpReader reader;
  EXPECT_EQ(reader.Open(File(BitmapBytes(6, 2, 108, 24, 40))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File(BitmapBytes(6, 2, 124, 24, 40))), BmpReader::kBadFile);
  EXPECT_EQ(reader.ErrorText(4), "Error when reading file \"" + dir_.File("image2.bmp") +
                                     "\": Failed to open file! File is missed or corrupted.");
  EXPECT_EQ(reader.Open(File(BitmapBytes(6, 2, 40, 32, 48))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File(BitmapBytes(-6, 2, 40, 24, 40))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File(BitmapBytes(6, 0, 40, 24, 40))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File(BitmapBytes(6, -2, 40, 24, 40))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File(BitmapBytes(6, INT32_MIN, 40, 24, 40))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File(BitmapBytes(6, 2, 40, 24, 39))), BmpReader::kBadFile);
  // 60000 x 60000 claimed by a 100-byte file: refused before 10 GB are asked for.
  EXPECT_EQ(reader.Open(File(BitmapBytes(60000, 60000, 40, 24, 46))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File(BitmapBytes(INT32_MAX, INT32_MAX, 40, 24, 46))), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(File({'B', 'M', 0, 0})), BmpReader::kBadFile);
  EXPECT_EQ(reader.Open(dir_.File("missing.bmp")), BmpReader::kOpenFailed);
  EXPECT_EQ(reader.Width(), 0);
  std::vector<uint8_t> buffer(64);
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), BmpReader::kAlreadyDelivered);
}

TEST_F(BmpReaderTest, FuzzingSeedsOpenOrFailWithTheirStatus) {
  BmpReader reader;
  for (const testing::NamedBytes& seed : testing::BmpSeedFiles()) {
    const int expected = seed.name.starts_with("rgb24") ? BmpReader::kOk : BmpReader::kBadFile;
    EXPECT_EQ(reader.Open(File(seed.bytes)), expected) << seed.name;
  }
}

TEST_F(BmpReaderTest, ReadsWhatFfmpegWritesAndIsChosenByNameOrContent) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string bmp = dir_.File("frame.bmp");
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc2=size=38x22 -frames:v 1 -pix_fmt bgr24 '" + bmp + "'"));
  const auto expected = testing::FfmpegDecodedFrames(bmp, "bgr24", 38, 22, dir_.File("ref.raw"));
  ASSERT_EQ(expected.size(), 1u);
  const auto reader = OpenSequenceReader(bmp, 0, 0, 0, true);
  ASSERT_NE(reader, nullptr);
  std::vector<uint8_t> buffer(expected[0].size());
  ASSERT_EQ(reader->ReadNextRaw(buffer.data()), 0);
  EXPECT_EQ(buffer, expected[0]);

  const std::string unnamed = dir_.File("frame.image");
  std::filesystem::copy_file(bmp, unnamed);
  const auto probed = OpenSequenceReader(unnamed, 0, 0, 0, true);
  ASSERT_NE(probed, nullptr);
  EXPECT_EQ(probed->Width(), 38);
}

}  // namespace
}  // namespace vidmetra
