#include "vidmetra/avi_reader.h"

#include <gtest/gtest.h>

#include "support/avi_builder.h"
#include "support/byte_files.h"
#include "support/temp_dir.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/open_sequence_reader.h"

namespace vidmetra {
namespace {

class AviReaderTest : public ::testing::Test {
 protected:
  // A stream of `frames` stored frames of `frame_bytes` pattern bytes each.
  std::string Stored(const std::string& name, int32_t width, int32_t height, const std::string& code,
                     uint16_t bit_count, size_t frame_bytes, int frames = 3) {
    testing::AviBuilder builder;
    const int stream = builder.AddVideoStream(width, height, code, bit_count);
    for (int n = 0; n < frames; ++n) builder.AddSample(stream, testing::PatternBytes(frame_bytes, 100 + n));
    const std::string path = dir_.File(name);
    builder.Write(path, testing::AviIndexLayout::kClassicRelative);
    return path;
  }

  testing::TempDir dir_;
};

TEST_F(AviReaderTest, Stored24BitRgbIsDeliveredAsItIs) {
  // 5 pixels of 3 bytes make rows of 16 bytes.
  const std::string path = Stored("rgb24.avi", 5, 3, std::string(4, '\0'), 24, 48);
  AviReader reader;
  ASSERT_EQ(reader.Open(path, true, false), AviReader::kOk);
  EXPECT_EQ(reader.ColourSpace(), kRgb24);
  EXPECT_EQ(reader.Describe(), "file \"" + path + "\", reading RGB24, raw stream");
  EXPECT_EQ(reader.FrameCount(), 3);
  EXPECT_EQ(reader.Rate(), 25);
  EXPECT_EQ(reader.Scale(), 1);
  std::vector<uint8_t> buffer(48);
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(reader.Position(), n);
    ASSERT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);
    EXPECT_EQ(buffer, testing::PatternBytes(48, 100 + n));
  }
  // Reading on after the last frame succeeds and changes nothing.
  EXPECT_TRUE(reader.IsAtEnd());
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);
  EXPECT_EQ(buffer, testing::PatternBytes(48, 102));
  EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), 3), AviReader::kBadFrameNumber);
  EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), -1), AviReader::kBadFrameNumber);
  ASSERT_EQ(reader.ReadFrameRaw(buffer.data(), 1), AviReader::kOk);
  EXPECT_EQ(buffer, testing::PatternBytes(48, 101));

  VideoFrame frame;
  ASSERT_EQ(reader.ReadFrame(frame, 0), AviReader::kOk);
  EXPECT_EQ(frame.Plane(0).origin[frame.Plane(0).stride + 4], testing::PatternBytes(48, 100)[16 + 4]);
}

TEST_F(AviReaderTest, Stored32BitIsRgb32And16BitFails) {
  AviReader reader;
  ASSERT_EQ(reader.Open(Stored("rgb32.avi", 4, 2, "DIB ", 32, 32), false, false), AviReader::kOk);
  EXPECT_EQ(reader.ColourSpace(), kRgb32);
  const std::string rgb16 = Stored("rgb16.avi", 4, 2, std::string(4, '\0'), 16, 16);
  EXPECT_EQ(reader.Open(rgb16, true, false), AviReader::kOpenFailed);
  EXPECT_EQ(reader.ErrorText(AviReader::kOpenFailed),
            "Error when reading file \"" + rgb16 +
                "\": Failed to open file! File is missed or corrupted or required codecs are not installed.");
  EXPECT_EQ(reader.Width(), 0);
}

TEST_F(AviReaderTest, StoredYuvIsDeliveredInItsOwnLayout) {
  AviReader reader;
  ASSERT_EQ(reader.Open(Stored("yv12.avi", 8, 4, "YV12", 12, 48), true, false), AviReader::kOk);
  EXPECT_EQ(reader.ColourSpace(), kYv12);
  std::vector<uint8_t> buffer(48);
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);
  EXPECT_EQ(buffer, testing::PatternBytes(48, 100));
  ASSERT_EQ(reader.Open(Stored("yuy2.avi", 8, 4, "YUY2", 16, 64), true, false), AviReader::kOk);
  EXPECT_EQ(reader.ColourSpace(), kYuy2);
  EXPECT_EQ(reader.Describe().substr(reader.Describe().size() - 24), "reading YUY2, raw stream");
}

TEST_F(AviReaderTest, StreamNobodyDecodesFailsWith13) {
  const std::string path = Stored("unknown.avi", 8, 4, "QQ9Z", 24, 10);
  AviReader reader;
  EXPECT_EQ(reader.Open(path, true, false), AviReader::kNoDecompressor);
  EXPECT_EQ(reader.ErrorText(13), "Error when reading file \"" + path + "\": Can't find suitable decompressor!");
  std::string failure;
  EXPECT_EQ(OpenSequenceReader(path, 0, 0, 0, true, &failure), nullptr);
  EXPECT_EQ(failure, reader.ErrorText(13));
}

TEST_F(AviReaderTest, BadFormatsAndBrokenFilesFail) {
  AviReader reader;
  EXPECT_EQ(reader.Open(Stored("zero.avi", 0, 4, "DIB ", 24, 10), true, false), AviReader::kBadFormat);
  EXPECT_EQ(reader.Open(Stored("empty.avi", 4, 4, "DIB ", 24, 48, 0), true, false), AviReader::kBadFormat);
  EXPECT_EQ(reader.Open(Stored("huge.avi", 1 << 20, 4, "DIB ", 24, 48), true, false), AviReader::kBadFormat);
  // Samples shorter than a frame are not delivered as frames.
  ASSERT_EQ(reader.Open(Stored("short.avi", 4, 4, "DIB ", 24, 40), true, false), AviReader::kOk);
  std::vector<uint8_t> buffer(48);
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kReadFailed);
  // A picture of 30000 x 30000 claimed by a file of a few bytes is refused before its frame is allocated.
  ASSERT_EQ(reader.Open(Stored("claims.avi", 30000, 30000, "DIB ", 24, 48), true, false), AviReader::kOk);
  VideoFrame frame;
  EXPECT_EQ(reader.ReadNextFrame(frame), AviReader::kReadFailed);
  EXPECT_EQ(reader.ReadFrame(frame, 1), AviReader::kReadFailed);
  EXPECT_EQ(frame.StoreBytes(), 0u);
  testing::WriteText(dir_.File("text.avi"), "not a RIFF file");
  EXPECT_EQ(reader.Open(dir_.File("text.avi"), true, false), AviReader::kOpenFailed);
  testing::AviBuilder audio_only;
  audio_only.AddSample(audio_only.AddAudioStream(1, 8000, 16), std::vector<uint8_t>(16));
  audio_only.Write(dir_.File("audio.avi"), testing::AviIndexLayout::kClassicRelative);
  EXPECT_EQ(reader.Open(dir_.File("audio.avi"), true, false), AviReader::kNoVideoStream);
  EXPECT_EQ(reader.ErrorText(99).substr(reader.ErrorText(99).size() - 19), "Unrecognized error!");
}

TEST_F(AviReaderTest, TopDownRgbIsDeliveredBottomRowFirst) {
  const std::string path = Stored("topdown.avi", 4, -2, "DIB ", 24, 24, 1);
  AviReader reader;
  ASSERT_EQ(reader.Open(path, true, false), AviReader::kOk);
  EXPECT_EQ(reader.Height(), 2);
  std::vector<uint8_t> buffer(24);
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);
  const std::vector<uint8_t> stored = testing::PatternBytes(24, 100);
  EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 12, stored.begin() + 12));
  EXPECT_TRUE(std::equal(buffer.begin() + 12, buffer.end(), stored.begin()));
}

}  // namespace
}  // namespace vidmetra
