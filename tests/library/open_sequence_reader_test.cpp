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

TEST(OpenSequenceReader, OpensRawFiles) {
  testing::TempDir dir;
  const std::string path = dir.File("clip.yuv");
  testing::WriteBytes(path, testing::PatternBytes(3 * 24, 1));
  const auto reader = OpenSequenceReader(path, 6, 4, kY, true);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->Width(), 6);
  EXPECT_EQ(reader->Height(), 4);
  EXPECT_EQ(reader->ColourSpace(), kY);
  EXPECT_EQ(reader->FrameCount(), 3);
}

TEST(OpenSequenceReader, ReadsSequenceFilesAsI420) {
  testing::TempDir dir;
  const std::string path = dir.File("clip.Seq");
  testing::WriteBytes(path, testing::PatternBytes(2 * 36, 1));
  const auto reader = OpenSequenceReader(path, 6, 4, kYv12, true);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->ColourSpace(), kIyuv);
  EXPECT_EQ(reader->FrameCount(), 2);
}

TEST(OpenSequenceReader, NoReaderWhenNothingFitsOrOpens) {
  testing::TempDir dir;
  const std::string path = dir.File("clip.yuv");
  testing::WriteBytes(path, testing::PatternBytes(100, 1));
  EXPECT_EQ(OpenSequenceReader(path, 0, 0, kYv12, true), nullptr);
  EXPECT_EQ(OpenSequenceReader(path, 0, 4, kYv12, true), nullptr);
  EXPECT_EQ(OpenSequenceReader(path, 6, 4, kPlanarRgb, true), nullptr);
  EXPECT_EQ(OpenSequenceReader(dir.File("missing.yuv"), 6, 4, kY, true), nullptr);
}

}  // namespace
}  // namespace vidmetra
