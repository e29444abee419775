// The alignment adapter shows a window of the file's frames as a whole sequence of its own.
#include "vidmetra/aligned_reader.h"

#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/temp_dir.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/raw_yuv_reader.h"

namespace vidmetra {
namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 8;
constexpr size_t kFrameBytes = kWidth * kHeight * 3 / 2;
constexpr int kFrames = 10;

class AlignedReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteBytes(path_, testing::PatternBytes(kFrameBytes * kFrames, 4));
    bytes_ = testing::PatternBytes(kFrameBytes * kFrames, 4);
  }

  std::unique_ptr<SequenceReader> Aligned(FrameRange range) {
    auto raw = std::make_unique<RawYuvReader>();
    EXPECT_EQ(raw->Open(path_, kIyuv, kWidth, kHeight), 0);
    return AlignReader(std::move(raw), range);
  }

  std::vector<uint8_t> FileFrame(int n) const {
    const auto start = bytes_.begin() + static_cast<ptrdiff_t>(kFrameBytes) * n;
    return {start, start + static_cast<ptrdiff_t>(kFrameBytes)};
  }

  testing::TempDir dir_;
  std::string path_ = dir_.File("clip.yuv");
  std::vector<uint8_t> bytes_;
};

TEST_F(AlignedReaderTest, WindowReadsInOrderAndByNumberAsTheFileFramesItCovers) {
  std::unique_ptr<SequenceReader> reader = Aligned({3, 4});
  ASSERT_EQ(reader->FrameCount(), 4);
  std::vector<uint8_t> buffer(kFrameBytes);
  for (int n = 0; n < 4; ++n) {
    EXPECT_EQ(reader->Position(), n);
    ASSERT_EQ(reader->ReadNextRaw(buffer.data()), 0);
    EXPECT_EQ(buffer, FileFrame(3 + n)) << n;
  }
  EXPECT_TRUE(reader->IsAtEnd());
  EXPECT_EQ(reader->ReadNextRaw(buffer.data()), 0);
  EXPECT_EQ(buffer, FileFrame(6));  // nothing read past the window
  VideoFrame frame;
  ASSERT_EQ(reader->ReadFrame(frame, 1), 0);
  std::vector<uint8_t> exported(kFrameBytes);
  frame.ExportTight(exported.data());
  EXPECT_EQ(exported, FileFrame(4));
  // Outside the window is outside the file, with the file reader's own status and text.
  EXPECT_EQ(reader->ReadFrameRaw(buffer.data(), 4), 4);
  EXPECT_EQ(reader->ReadFrame(frame, -1), 4);
  EXPECT_TRUE(reader->ErrorText(4).ends_with("Bad frame number occured!"));
  EXPECT_TRUE(reader->Describe().starts_with("frames 3 to 6 of 10: file \"" + path_)) << reader->Describe();
}

TEST_F(AlignedReaderTest, SkipsBeyondTheFileLeaveNothingAndWholeRangesLeaveTheReaderAlone) {
  std::unique_ptr<SequenceReader> none = Aligned({12, -1});
  EXPECT_EQ(none->FrameCount(), 0);
  EXPECT_TRUE(none->IsAtEnd());
  EXPECT_TRUE(none->Describe().starts_with("no frames after skipping 10 of 10: ")) << none->Describe();
  std::unique_ptr<SequenceReader> tail = Aligned({7, 100});
  EXPECT_EQ(tail->FrameCount(), 3);
  EXPECT_NE(dynamic_cast<RawYuvReader*>(Aligned({}).get()), nullptr);
}

}  // namespace
}  // namespace vidmetra
