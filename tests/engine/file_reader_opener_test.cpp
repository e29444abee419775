#include "vidmetra/file_reader_opener.h"

#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

TEST(FileReaderOpener, OpensEntriesBySizeOrName) {
  testing::TempDir dir;
  const std::string path = dir.File("clip.yuv");
  testing::WriteBytes(path, testing::PatternBytes(4 * 38016, 3));
  FileReaderOpener opener;
  const auto reader = opener.Open({path, 176, 144, kYv12});
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->FrameCount(), 4);
  EXPECT_EQ(reader->ColourSpace(), kYv12);
  EXPECT_EQ(reader->Describe(), "file \"" + path + "\" width 176 height 144 colorspace YV12");
  EXPECT_EQ(opener.Open({path, 0, 0, 0}), nullptr);
  EXPECT_EQ(opener.Open({path, 352, 0, kYv12}), nullptr);
}

}  // namespace
}  // namespace vidmetra
