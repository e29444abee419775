#include "vidmetra/sequence_reader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vidmetra {
namespace {

// A reader of a fixed format whose only behaviour is its raw reads.
class StubReader : public SequenceReader {
 public:
  StubReader(int colour_space, int width, int height) : colour_space_(colour_space), width_(width), height_(height) {}
  int ReadNextRaw(uint8_t* buffer) override { return ReadFrameRaw(buffer, next_++); }
  int Close() override { return 0; }
  std::string Describe(size_t) const override { return {}; }
  std::string ErrorText(int, size_t) const override { return {}; }
  bool IsBadFrameNumber(int) const override { return false; }
  bool IsAtEnd() const override { return false; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int ColourSpace() const override { return colour_space_; }

 protected:
  int MemoryStatus() const override { return 9; }
  int colour_space_, width_, height_;
  int next_ = 0;
};

// Writes byte value (frame number + 1) over a whole Y frame and remembers where it wrote.
class PatternReader : public StubReader {
 public:
  PatternReader(int width, int height) : StubReader(kY, width, height) {}
  int ReadFrameRaw(uint8_t* buffer, int frame_number) override {
    last_buffer = buffer;
    if (frame_number == 3) return 3;
    std::memset(buffer, frame_number + 1, static_cast<size_t>(width_) * static_cast<size_t>(height_));
    return 0;
  }
  const uint8_t* last_buffer = nullptr;
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

// Delivers the same random tight frame of any colour space on every read.
class TightReader : public StubReader {
 public:
  TightReader(int colour_space, int width, int height) : StubReader(colour_space, width, height) {
    bytes_.resize(static_cast<size_t>(TightFrameBytes(colour_space, width, height)));
    uint32_t state = 12345;
    for (uint8_t& byte : bytes_) byte = static_cast<uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
  }
  int ReadFrameRaw(uint8_t* buffer, int) override {
    std::memcpy(buffer, bytes_.data(), bytes_.size());
    return 0;
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

TEST(SequenceReaderFill, FramesOfWholeRowsButPartialHeightMatchAnImport) {
  for (const int colour_space : {kIyuv, kYv12, kRgb24, kRgb32, kYuy2, kYuv, kY, kYv16}) {
    for (const int height : {1, 17, 30, 1080 % 64 + 8}) {
      TightReader reader(colour_space, 32, height);
      VideoFrame read, imported;
      ASSERT_TRUE(read.SetFormat(64, 64, kRgb24, 8));  // a larger, different format before
      ASSERT_EQ(reader.ReadFrame(read, 0), 0);
      ASSERT_TRUE(imported.SetFormat(32, height, colour_space, 0));
      imported.ImportTight(reader.bytes().data());
      ASSERT_EQ(read.PlaneCount(), imported.PlaneCount());
      for (int k = 0; k < read.PlaneCount(); ++k) {
        const PlaneLayout a = read.Plane(k), b = imported.Plane(k);
        ASSERT_EQ(a.stride, b.stride);
        for (int y = 0; y < a.alloc_rows; ++y) {
          ASSERT_EQ(std::memcmp(a.origin + y * a.stride, b.origin + y * b.stride, static_cast<size_t>(a.alloc_units) * a.unit), 0)
              << "colour space " << colour_space << " height " << height << " plane " << k << " row " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vidmetra
