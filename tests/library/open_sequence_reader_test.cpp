#include "vidmetra/open_sequence_reader.h"

#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/temp_dir.h"
#include "vidmetra/file_name_ending.h"

namespace vidmetra {
namespace {

TEST(FileNameEnding, IgnoresCaseAndShortNames) {
  EXPECT_TRUE(HasEnding("clip.AVI", "avi"));
  EXPECT_TRUE(HasEnding("avi", "avi"));
  EXPECT_FALSE(HasEnding("vi", "avi"));
  EXPECT_FALSE(HasEnding("", "avi"));
  EXPECT_FALSE(HasEnding("clip.avi ", "avi"));
  EXPECT_FALSE(HasEnding("clip.\xC3\xA0vi", "avi"));
}

TEST(ReaderSelection, SizeDecidesFirst) {
  EXPECT_EQ(SelectReaderKind("clip.yuv", 176, 144), ReaderKind::kRawYuv);
  // Both given: raw, whatever the name says.
  EXPECT_EQ(SelectReaderKind("clip.avi", 176, 144), ReaderKind::kRawYuv);
  EXPECT_EQ(SelectReaderKind("clip.avi", 0, 144), ReaderKind::kNone);
  EXPECT_EQ(SelectReaderKind("clip.bmp", 352, 0), ReaderKind::kNone);
  EXPECT_EQ(SelectReaderKind("clip.avi", -1, -1), ReaderKind::kNone);
  EXPECT_EQ(SelectReaderKind("clip.yuv", -176, 144), ReaderKind::kNone);
}

TEST(ReaderSelection, NameDecidesWithoutSize) {
  EXPECT_EQ(SelectReaderKind("CLIP.AVI", 0, 0), ReaderKind::kAviContainer);
  EXPECT_EQ(SelectReaderKind("script.Avs", 0, 0), ReaderKind::kAviService);
  EXPECT_EQ(SelectReaderKind("frame.bmp", 0, 0), ReaderKind::kBmp);
  EXPECT_EQ(SelectReaderKind("clip.yuv", 0, 0), ReaderKind::kNone);
  EXPECT_EQ(SelectReaderKind("clip.seq", 0, 0), ReaderKind::kNone);
  EXPECT_EQ(SelectReaderKind("vi", 0, 0), ReaderKind::kNone);
  EXPECT_EQ(SelectReaderKind("", 0, 0), ReaderKind::kNone);
  // Only the last three characters count, not a dotted extension.
  EXPECT_EQ(SelectReaderKind("noextensionavi", 0, 0), ReaderKind::kAviContainer);
}

TEST(ReaderSelection, SequenceFilesAreI420) {
  EXPECT_EQ(RawColourMode("clip.seq", kYv12), kIyuv);
  EXPECT_EQ(RawColourMode("CLIP.SEQ", 0), kIyuv);
  EXPECT_EQ(RawColourMode("clip.yuv", kYv12), kYv12);
}

class OpenSequenceReaderTest : public ::testing::Test {
 protected:
  std::string Clip(const std::string& name, size_t bytes) {
    const std::string path = dir_.File(name);
    testing::WriteBytes(path, testing::PatternBytes(bytes, 1));
    return path;
  }

  testing::TempDir dir_;
};

TEST_F(OpenSequenceReaderTest, OpensRawFiles) {
  const auto reader = OpenSequenceReader(Clip("clip.yuv", 3 * 24), 6, 4, kY, true);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->Width(), 6);
  EXPECT_EQ(reader->Height(), 4);
  EXPECT_EQ(reader->ColourSpace(), kY);
  EXPECT_EQ(reader->FrameCount(), 3);
}

TEST_F(OpenSequenceReaderTest, ReadsSequenceFilesAsI420) {
  const auto reader = OpenSequenceReader(Clip("clip.Seq", 2 * 36), 6, 4, kYv12, true);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->ColourSpace(), kIyuv);
  EXPECT_EQ(reader->FrameCount(), 2);
}

TEST_F(OpenSequenceReaderTest, NoReaderWhenNothingFitsOrOpens) {
  const std::string path = Clip("clip.yuv", 100);
  EXPECT_EQ(OpenSequenceReader(path, 0, 0, kYv12, true), nullptr);
  EXPECT_EQ(OpenSequenceReader(path, 0, 4, kYv12, true), nullptr);
  EXPECT_EQ(OpenSequenceReader(path, 6, 4, kPlanarRgb, true), nullptr);
  EXPECT_EQ(OpenSequenceReader(dir_.File("missing.yuv"), 6, 4, kY, true), nullptr);
}

}  // namespace
}  // namespace vidmetra
