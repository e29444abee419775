#include "vidmetra/raw_yuv_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "support/byte_files.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::PatternBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr int kQcifFrame = 176 * 144 * 3 / 2;

class RawYuvReaderTest : public ::testing::Test {
 protected:
  // A clip of `frames` whole frames of `frame_size` bytes followed by `extra` bytes.
  std::string MakeClip(int frame_size, int frames, int extra = 0) {
    clip_ = PatternBytes(static_cast<size_t>(frame_size) * frames + extra, 7);
    const std::string path = dir_.File("clip.yuv");
    WriteBytes(path, clip_);
    return path;
  }

  std::vector<uint8_t> Frame(int frame_size, int n) const {
    const auto begin = clip_.begin() + static_cast<ptrdiff_t>(frame_size) * n;
    return {begin, begin + frame_size};
  }

  TempDir dir_;
  std::vector<uint8_t> clip_;
};

TEST_F(RawYuvReaderTest, CountsWholeFramesOnly) {
  RawYuvReader reader;
  const std::string path = MakeClip(kQcifFrame, 10);
  ASSERT_EQ(reader.Open(path, kYv12, 176, 144), 0);
  EXPECT_EQ(reader.FrameSize(), 38016);
  EXPECT_EQ(reader.FrameCount(), 10);

  std::filesystem::resize_file(path, 380159);
  ASSERT_EQ(reader.Open(path, kYv12, 176, 144), 0);
  EXPECT_EQ(reader.FrameCount(), 9);
}

TEST_F(RawYuvReaderTest, FrameSizePerColourMode) {
  const std::string path = MakeClip(1000, 1);
  struct Case {
    int mode;
    int width;
    int frame_size;
  };
  const Case cases[] = {{kYuv, 6, 3 * 6 * 4}, {kYuy2, 6, 2 * 6 * 4}, {kUyvy, 6, 2 * 6 * 4},
                        {kYv12, 6, 9 * 4},    {kIyuv, 5, 7 * 4},     {kY, 6, 6 * 4}};
  for (const Case& c : cases) {
    RawYuvReader reader;
    ASSERT_EQ(reader.Open(path, c.mode, c.width, 4), 0) << c.mode;
    EXPECT_EQ(reader.FrameSize(), c.frame_size) << c.mode;
    EXPECT_EQ(reader.FrameCount(), 1000 / c.frame_size) << c.mode;
    EXPECT_EQ(reader.ColourSpace(), c.mode);
  }
}

TEST_F(RawYuvReaderTest, SequentialReadingNeverSeeks) {
  RawYuvReader reader;
  ASSERT_EQ(reader.Open(MakeClip(kQcifFrame, 10), kYv12, 176, 144), 0);
  std::vector<uint8_t> buffer(kQcifFrame);
  for (int n = 0; n < 3; ++n) {
    ASSERT_EQ(reader.ReadFrameRaw(buffer.data(), n), 0);
    EXPECT_EQ(buffer, Frame(kQcifFrame, n)) << n;
  }
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), 0);
  EXPECT_EQ(buffer, Frame(kQcifFrame, 3));
  EXPECT_EQ(reader.SeekCount(), 0);
}

TEST_F(RawYuvReaderTest, RandomAccessSeeksOncePerJump) {
  RawYuvReader reader;
  ASSERT_EQ(reader.Open(MakeClip(kQcifFrame, 10), kYv12, 176, 144), 0);
  std::vector<uint8_t> buffer(kQcifFrame);
  ASSERT_EQ(reader.ReadFrameRaw(buffer.data(), 5), 0);
  EXPECT_EQ(buffer, Frame(kQcifFrame, 5));
  ASSERT_EQ(reader.ReadFrameRaw(buffer.data(), 7), 0);
  EXPECT_EQ(buffer, Frame(kQcifFrame, 7));
  EXPECT_EQ(reader.SeekCount(), 2);
  // Back to the start, then straight on from there.
  ASSERT_EQ(reader.ReadFrameRaw(buffer.data(), 0), 0);
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), 0);
  EXPECT_EQ(buffer, Frame(kQcifFrame, 1));
  EXPECT_EQ(reader.SeekCount(), 3);
}

TEST_F(RawYuvReaderTest, ReadingPastTheEndLeavesTheBuffer) {
  RawYuvReader reader;
  ASSERT_EQ(reader.Open(MakeClip(24, 2, 5), kY, 6, 4), 0);
  std::vector<uint8_t> buffer(24);
  EXPECT_FALSE(reader.IsAtEnd());
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), 0);
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), 0);
  EXPECT_TRUE(reader.IsAtEnd());
  std::vector<uint8_t> untouched(24, 0xAB);
  buffer = untouched;
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), 0);
  EXPECT_EQ(buffer, untouched);
}

TEST_F(RawYuvReaderTest, RefusesBadFrameNumbers) {
  RawYuvReader reader;
  const std::string path = MakeClip(24, 3);
  ASSERT_EQ(reader.Open(path, kY, 6, 4), 0);
  std::vector<uint8_t> buffer(24, 0x11);
  for (const int n : {-1, 3}) {
    EXPECT_TRUE(reader.IsBadFrameNumber(n));
    const int status = reader.ReadFrameRaw(buffer.data(), n);
    EXPECT_EQ(status, RawYuvReader::kBadFrameNumber);
    const std::string text = reader.ErrorText(status);
    EXPECT_EQ(text, "Error when reading file \"" + path + "\": Bad frame number occured!");
  }
  EXPECT_EQ(buffer, std::vector<uint8_t>(24, 0x11));
  EXPECT_FALSE(reader.IsBadFrameNumber(2));
  EXPECT_EQ(reader.SeekCount(), 0);
}

TEST_F(RawYuvReaderTest, ErrorTexts) {
  RawYuvReader reader;
  // Without a file there is no name to put in front.
  EXPECT_EQ(reader.ErrorText(1), "Error in YUV reader!");
  EXPECT_EQ(reader.ErrorText(2), "Failed to open file! File is missed or corrupted.");
  EXPECT_EQ(reader.ErrorText(3), "Failed to read frame!");
  EXPECT_EQ(reader.ErrorText(0), "No error occured!");
  EXPECT_EQ(reader.ErrorText(17), "Unrecognized error!");
  EXPECT_EQ(reader.ErrorText(3, 7), "Failed");
}

TEST_F(RawYuvReaderTest, DescribesSizeAndMode) {
  RawYuvReader reader;
  const std::string path = MakeClip(352 * 2 * 288, 1);
  ASSERT_EQ(reader.Open(path, kUyvy, 352, 288), 0);
  EXPECT_EQ(reader.Describe(), "file \"" + path + "\" width 352 height 288 colorspace UYVY");
  const std::string whole = reader.Describe();
  EXPECT_EQ(reader.Describe(20), whole.substr(0, 19));
  EXPECT_EQ(reader.Describe(0), "");

  EXPECT_EQ(reader.Open(path, kPlanarRgb, 352, 288), RawYuvReader::kOpenFailed);
  EXPECT_EQ(reader.Describe(), "file \"" + path + "\" width 0 height 0 colorspace unc");
  EXPECT_EQ(reader.Open(path, kRgb24, 352, 288), RawYuvReader::kOpenFailed);
  EXPECT_NE(reader.Describe().find("colorspace unc"), std::string::npos);
}

TEST_F(RawYuvReaderTest, RefusesWhatCannotBeOpened) {
  RawYuvReader reader;
  EXPECT_EQ(reader.Open(dir_.File("missing.yuv"), kYv12, 176, 144), RawYuvReader::kOpenFailed);
  EXPECT_EQ(reader.Width(), 0);
  EXPECT_EQ(reader.FrameCount(), 0);
  EXPECT_TRUE(reader.IsAtEnd());

  EXPECT_EQ(reader.Open(dir_.path().string(), kY, 6, 4), RawYuvReader::kOpenFailed);
  const std::string path = MakeClip(24, 2);
  EXPECT_EQ(reader.Open(path, kY, 0, 4), RawYuvReader::kOpenFailed);
  EXPECT_EQ(reader.Open(path, kY, -6, -4), RawYuvReader::kOpenFailed);
  // One frame would need more than 32 bits of size: refused before anything is allocated.
  EXPECT_EQ(reader.Open(path, kYuv, 40000, 40000), RawYuvReader::kOpenFailed);
  EXPECT_EQ(reader.Open(path, kYuv, 2000000000, 2), RawYuvReader::kOpenFailed);
  EXPECT_EQ(reader.FrameSize(), 0);
  EXPECT_EQ(reader.Height(), 0);
  EXPECT_EQ(reader.ErrorText(2), "Error when reading file \"" + path + "\": Failed to open file! File is missed or corrupted.");
}

TEST_F(RawYuvReaderTest, SmallFilesOpenWithoutFrames) {
  RawYuvReader reader;
  ASSERT_EQ(reader.Open(MakeClip(1, 0), kYv12, 176, 144), 0);
  EXPECT_EQ(reader.FrameCount(), 0);
  EXPECT_TRUE(reader.IsAtEnd());

  // A frame far larger than the file: the frame is neither formatted nor allocated.
  ASSERT_EQ(reader.Open(MakeClip(1000, 1), kYuv, 30000, 20000), 0);
  EXPECT_EQ(reader.FrameCount(), 0);
  VideoFrame frame;
  EXPECT_EQ(reader.ReadNextFrame(frame), 0);
  EXPECT_EQ(reader.ReadFrame(frame, 0), RawYuvReader::kBadFrameNumber);
  EXPECT_FALSE(frame.HasPixels());
  EXPECT_EQ(frame.width(), 0);
}

TEST_F(RawYuvReaderTest, FileThatShrinksFailsTheRead) {
  RawYuvReader reader;
  const std::string path = MakeClip(24, 3);
  ASSERT_EQ(reader.Open(path, kY, 6, 4), 0);
  std::filesystem::resize_file(path, 30);
  std::vector<uint8_t> buffer(24);
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), 0);
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), RawYuvReader::kReadFailed);
  // The failed frame is consumed; the next one fails as well, and the first can still be read again.
  EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), 2), RawYuvReader::kReadFailed);
  EXPECT_TRUE(reader.IsAtEnd());
  ASSERT_EQ(reader.ReadFrameRaw(buffer.data(), 0), 0);
  EXPECT_EQ(buffer, Frame(24, 0));
}

TEST_F(RawYuvReaderTest, AlignedFramesAreReadInPlace) {
  RawYuvReader reader;
  const int frame_size = 32 * 16 * 3 / 2;
  ASSERT_EQ(reader.Open(MakeClip(frame_size, 3), kIyuv, 32, 16), 0);
  VideoFrame frame;
  ASSERT_EQ(reader.ReadFrame(frame, 1), 0);
  EXPECT_FALSE(frame.padded());
  EXPECT_EQ(frame.external(), nullptr);  // no intermediate buffer was imported from
  EXPECT_EQ(std::memcmp(frame.data(), Frame(frame_size, 1).data(), frame_size), 0);
  ASSERT_EQ(reader.ReadNextFrame(frame), 0);
  EXPECT_EQ(std::memcmp(frame.data(), Frame(frame_size, 2).data(), frame_size), 0);
}

TEST_F(RawYuvReaderTest, OtherFramesAreImported) {
  RawYuvReader reader;
  const int width = 20;
  const int height = 10;
  const int frame_size = width * height * 3 / 2;
  ASSERT_EQ(reader.Open(MakeClip(frame_size, 2), kYv12, width, height), 0);
  VideoFrame frame;
  ASSERT_EQ(reader.ReadFrame(frame, 1), 0);
  EXPECT_TRUE(frame.padded());
  EXPECT_NE(frame.external(), nullptr);
  const std::vector<uint8_t> expected = Frame(frame_size, 1);
  std::vector<uint8_t> exported(frame_size);
  frame.ExportTight(exported.data());
  EXPECT_EQ(exported, expected);
}

TEST_F(RawYuvReaderTest, CloseForgetsTheFile) {
  RawYuvReader reader;
  const std::string path = MakeClip(24, 3);
  ASSERT_EQ(reader.Open(path, kY, 6, 4), 0);
  EXPECT_EQ(reader.Close(), 0);
  EXPECT_EQ(reader.Close(), 0);
  EXPECT_EQ(reader.Width(), 0);
  EXPECT_EQ(reader.Height(), 0);
  EXPECT_EQ(reader.FrameCount(), 0);
  EXPECT_TRUE(reader.IsAtEnd());
  EXPECT_EQ(reader.ErrorText(3), "Failed to read frame!");
  // Opened again, it reads from the start.
  ASSERT_EQ(reader.Open(path, kY, 6, 4), 0);
  std::vector<uint8_t> buffer(24);
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), 0);
  EXPECT_EQ(buffer, Frame(24, 0));
  EXPECT_EQ(reader.Rate(), 0);
  EXPECT_EQ(reader.Scale(), 1);
  EXPECT_EQ(reader.Position(), 0);
}

}  // namespace
}  // namespace vidmetra
