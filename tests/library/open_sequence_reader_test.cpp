#include "vidmetra/open_sequence_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <vector>

#include "support/byte_files.h"
#include "support/temp_dir.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/file_name_ending.h"
#include "vidmetra/raw_yuv_reader.h"
#include "vidmetra/reader_registry.h"

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

// A registry shaped like the library's: the sized raw kind, then kinds claiming endings, one of them probing.
class ReaderSelectionTest : public ::testing::Test {
 protected:
  static std::unique_ptr<SequenceReader> OpenAsLuma(const ReaderRequest& request, std::string& failure) {
    auto reader = std::make_unique<RawYuvReader>();
    const int status = reader->Open(request.name, kY, 6, 4);
    return KeepIfOpened(std::move(reader), status, failure);
  }
  static bool StartsWithRiff(std::span<const uint8_t> head) {
    return head.size() >= 4 && std::equal(head.begin(), head.begin() + 4, "RIFF");
  }

  std::string Clip(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.File(name);
    testing::WriteText(path, bytes);
    return path;
  }
  std::string_view KindOf(const std::string& name, int width = 0, int height = 0) {
    const ReaderEntry* entry = registry_.Select(name, width, height);
    return entry == nullptr ? "none" : entry->kind;
  }

  ReaderRegistry registry_{{.kind = "raw", .endings = {"yuv", "seq"}}};
  testing::TempDir dir_;
};

TEST_F(ReaderSelectionTest, SizeDecidesFirst) {
  registry_.Register({.kind = "avi", .endings = {"avi"}});
  EXPECT_EQ(KindOf("clip.yuv", 176, 144), "raw");
  EXPECT_EQ(KindOf("clip.avi", 176, 144), "raw");
  EXPECT_EQ(KindOf("clip.avi", 0, 144), "none");
  EXPECT_EQ(KindOf("clip.bmp", 352, 0), "none");
  EXPECT_EQ(KindOf("clip.avi", -1, -1), "none");
  EXPECT_EQ(KindOf("clip.yuv", -176, 144), "none");
}

TEST_F(ReaderSelectionTest, EndingDecidesWithoutSize) {
  registry_.Register({.kind = "avi", .endings = {"avi"}, .probe = StartsWithRiff});
  registry_.Register({.kind = "bmp", .endings = {"bmp"}});
  EXPECT_EQ(KindOf("CLIP.AVI"), "avi");
  EXPECT_EQ(KindOf("frame.Bmp"), "bmp");
  // Raw names say nothing about the size, so they give no reader, even when the bytes look like another kind.
  EXPECT_EQ(KindOf(Clip("clip.yuv", "RIFF....AVI ")), "none");
  EXPECT_EQ(KindOf(Clip("clip.seq", "RIFF....AVI ")), "none");
  EXPECT_EQ(KindOf("vi"), "none");
  EXPECT_EQ(KindOf(""), "none");
  // Only the name's last characters count, not a dotted extension.
  EXPECT_EQ(KindOf("noextensionavi"), "avi");
  // A claimed ending decides against the content.
  EXPECT_EQ(KindOf(Clip("riff.bmp", "RIFF....AVI ")), "bmp");
}

TEST_F(ReaderSelectionTest, ContentDecidesWhereNoEndingClaims) {
  registry_.Register({.kind = "avi", .endings = {"avi"}, .probe = StartsWithRiff});
  EXPECT_EQ(KindOf(Clip("capture.dat", "RIFF....AVI ")), "avi");
  EXPECT_EQ(KindOf(Clip("other.dat", "RIF")), "none");
  EXPECT_EQ(KindOf(Clip("empty.dat", "")), "none");
  EXPECT_EQ(KindOf(dir_.File("missing.dat")), "none");
}

TEST_F(ReaderSelectionTest, NewKindIsChosenForItsEnding) {
  registry_.Register({.kind = "luma", .endings = {".lum"}, .open = OpenAsLuma});
  const std::string path = Clip("clip.LUM", std::string(2 * 24, 'x'));
  EXPECT_EQ(KindOf(path), "luma");
  const auto reader = registry_.Open({.name = path});
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->FrameCount(), 2);
  EXPECT_EQ(registry_.Open({.name = Clip("clip.xyz", "")}), nullptr);
}

TEST(RawColourMode, SequenceFilesAreI420) {
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
