#include "vidmetra/sequence_reader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vidmetra {
namespace {

// Writes byte value (frame number + 1) over a whole Y frame and remembers where it wrote.
class PatternReader : public SequenceReader {
 public:
  PatternReader(int width, int height) : width_(width), height_(height) {}
  int ReadFrameRaw(uint8_t* buffer, int frame_number) override {
    last_buffer = buffer;
    if (frame_number == 3) return 3;
    std::memset(buffer, frame_number + 1, static_cast<size_t>(width_) * static_cast<size_t>(height_));
    return 0;
  }
  int ReadNextRaw(uint8_t* buffer) override { return ReadFrameRaw(buffer, next_++); }
  int Close() override { return 0; }
  std::string Describe(size_t) const override { return {}; }
  std::string ErrorText(int, size_t) const override { return {}; }
  bool IsBadFrameNumber(int) const override { return false; }
  bool IsAtEnd() const override { return false; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return kY; }
  const uint8_t* last_buffer = nullptr;

 protected:
  int MemoryStatus() const override { return 9; }

 private:
  int width_, height_;
  int next_ = 0;
};

TEST(SequenceReaderFill, FramesOfWholeBlocksAreReadInPlace) {
  PatternReader reader(32, 16);
  VideoFrame frame;
  ASSERT_EQ(reader.ReadFrame(frame, 1), 0);
  EXPECT_EQ(reader.last_buffer, frame.data());
  EXPECT_EQ(frame.width(), 32);
  EXPECT_EQ(frame.border(), 0);
  EXPECT_EQ(frame.data()[32 * 16 - 1], 2);
}

TEST(SequenceReaderFill, OtherSizesGoThroughTheReadersBufferAndGetBorders) {
  PatternReader reader(18, 5);
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(64, 64, kRgb24, 8));
  ASSERT_EQ(reader.ReadNextFrame(frame), 0);
  EXPECT_NE(reader.last_buffer, frame.data());
  EXPECT_EQ(frame.colour_space(), kY);
  EXPECT_EQ(frame.alloc_width(), 32);
  const PlaneLayout plane = frame.Plane(0);
  EXPECT_EQ(plane.origin[4 * plane.stride + 31], 1);  // replicated to the right edge
}

TEST(SequenceReaderFill, FailedReadReturnsTheStatusAndLeavesTheFrameFormatted) {
  PatternReader reader(18, 5);
  VideoFrame frame;
  EXPECT_EQ(reader.ReadFrame(frame, 3), 3);
  EXPECT_EQ(frame.width(), 18);
  EXPECT_EQ(frame.external(), nullptr);
}

}  // namespace
}  // namespace vidmetra
