#include "vidmetra/file_reader_opener.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/byte_files.h"
#include "support/temp_dir.h"
#include "vidmetra/task_pool.h"

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

TEST(FileReaderOpener, ReadersLentAPoolDeliverTheSameFrames) {
  testing::TempDir dir;
  const std::string path = dir.File("clip.yuv");
  testing::WriteBytes(path, testing::PatternBytes(4 * 38016, 5));
  FileReaderOpener alone;
  TaskPool one(1);
  TaskPool two(2);
  for (TaskPool* pool : {&one, &two}) {
    FileReaderOpener shared(pool);
    const auto expected = alone.Open({path, 176, 144, kYv12});
    const auto reader = shared.Open({path, 176, 144, kYv12});
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->Describe(), expected->Describe());
    VideoFrame want;
    VideoFrame got;
    for (int n = 0; n < 4; ++n) {
      ASSERT_EQ(expected->ReadNextFrame(want), 0);
      ASSERT_EQ(reader->ReadNextFrame(got), 0);
      for (int row = 0; row < 144; ++row) {
        ASSERT_EQ(std::memcmp(got.Plane(0).origin + row * got.Plane(0).stride,
                              want.Plane(0).origin + row * want.Plane(0).stride, 176),
                  0)
            << n << " " << row;
      }
    }
  }
}

}  // namespace
}  // namespace vidmetra
