#include "vidmetra/video_frame.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace vidmetra {
namespace {

std::vector<uint8_t> RandomTight(int colour_space, int width, int height, unsigned seed) {
  std::vector<uint8_t> bytes(static_cast<size_t>(TightFrameBytes(colour_space, width, height)));
  std::mt19937 random(seed);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

TEST(VideoFrameFormat, SizesStridesAndPadding) {
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(176, 144, kYv12, 0));
  EXPECT_EQ(frame.alloc_width(), 176);
  EXPECT_EQ(frame.alloc_height(), 144);
  EXPECT_FALSE(frame.padded());
  ASSERT_TRUE(frame.SetFormat(176, 144, kYv12, 5));
  EXPECT_EQ(frame.border(), 8);
  EXPECT_EQ(frame.alloc_width(), 192);
  EXPECT_EQ(frame.alloc_height(), 160);
  EXPECT_TRUE(frame.padded());

  ASSERT_TRUE(frame.SetFormat(100, 30, kRgb24, 0));
  EXPECT_EQ(frame.alloc_width(), 112);
  EXPECT_EQ(frame.alloc_height(), 32);
  EXPECT_EQ(frame.stride(), 336);
  EXPECT_EQ(frame.StoreBytes(), 3u * 112 * 32);
}

TEST(VideoFrameFormat, NegativeAndAbsurdRequests) {
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(-5, 0, kY, -3));
  EXPECT_EQ(frame.width(), 0);
  EXPECT_EQ(frame.height(), 0);
  EXPECT_EQ(frame.border(), 0);
  EXPECT_FALSE(frame.HasPixels());
  EXPECT_FALSE(frame.SetFormat(1 << 20, 1 << 20, kRgb32, 0));
  EXPECT_FALSE(frame.SetFormat(16, 16, kRgb32, 1 << 30));
  EXPECT_EQ(frame.alloc_width(), 0);
  EXPECT_FALSE(frame.HasPixels());
}

TEST(VideoFrameFormat, StoreIsKeptForSmallerFormats) {
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(64, 64, kRgb32, 0));
  const uint8_t* store = frame.data();
  ASSERT_TRUE(frame.SetFormat(32, 32, kYv12, 8));
  EXPECT_EQ(frame.data(), store);
  ASSERT_TRUE(frame.SetFormat(640, 480, kRgb32, 0));
  EXPECT_NE(frame.StoreBytes(), 0u);
}

TEST(VideoFrameBorder, PackedRgbReplicatesEdges) {
  const int width = 100, height = 30;
  const std::vector<uint8_t> tight = RandomTight(kRgb24, width, height, 1);
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(width, height, kRgb24, 0));
  frame.ImportTight(tight.data());
  EXPECT_EQ(frame.external(), tight.data());
  const int row_bytes = static_cast<int>(RowBytes(kRgb24, width));
  for (int y = 0; y < frame.alloc_height(); ++y) {
    const int source_row = std::min(y, height - 1);
    for (int x = 0; x < frame.alloc_width(); ++x) {
      const int source_x = std::min(x, width - 1);
      for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(frame.data()[y * frame.stride() + 3 * x + c], tight[source_row * row_bytes + 3 * source_x + c])
            << x << "," << y;
      }
    }
  }
}

// Checks every allocated sample of a plane against the clamped picture sample.
void ExpectReplicated(const PlaneLayout& plane) {
  for (int y = -plane.top; y < plane.alloc_rows - plane.top; ++y) {
    const int sy = std::clamp(y, 0, plane.height - 1);
    for (int x = -plane.left; x < plane.alloc_units - plane.left; ++x) {
      const int sx = std::clamp(x, 0, plane.width - 1);
      for (int c = 0; c < plane.unit; ++c) {
        ASSERT_EQ(plane.origin[y * plane.stride + x * plane.unit + c], plane.origin[sy * plane.stride + sx * plane.unit + c])
            << "x " << x << " y " << y;
      }
    }
  }
}

struct LayoutCase {
  int colour_space;
  int width;
  int height;
  int border;
};

class VideoFrameLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(VideoFrameLayout, ImportFillsBordersAndExportRoundTrips) {
  const LayoutCase c = GetParam();
  const std::vector<uint8_t> tight = RandomTight(c.colour_space, c.width, c.height, 7);
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(c.width, c.height, c.colour_space, c.border));
  frame.ImportTight(tight.data());
  for (int k = 0; k < frame.PlaneCount(); ++k) ExpectReplicated(frame.Plane(k));

  std::vector<uint8_t> exported(tight.size(), 0);
  frame.ExportTight(exported.data());
  if (c.colour_space == kYv16) {
    // Only the luma plane travels out of a planar 4:2:2 frame.
    const size_t luma = static_cast<size_t>(c.width) * static_cast<size_t>(c.height);
    EXPECT_TRUE(std::equal(tight.begin(), tight.begin() + static_cast<ptrdiff_t>(luma), exported.begin()));
    EXPECT_TRUE(std::all_of(exported.begin() + static_cast<ptrdiff_t>(luma), exported.end(), [](uint8_t b) { return b == 0; }));
  } else if (c.colour_space == kRgb24 || c.colour_space == kRgb32) {
    // Row padding bytes of DIB rows carry nothing.
    const int64_t row_bytes = RowBytes(c.colour_space, c.width);
    const int64_t used = int64_t{c.width} * PixelStep(c.colour_space);
    for (int y = 0; y < c.height; ++y) {
      EXPECT_TRUE(std::equal(tight.begin() + y * row_bytes, tight.begin() + y * row_bytes + used,
                             exported.begin() + y * row_bytes));
    }
  } else {
    EXPECT_EQ(exported, tight);
  }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, VideoFrameLayout,
                         ::testing::Values(LayoutCase{kRgb24, 100, 30, 0}, LayoutCase{kRgb24, 5, 3, 8},
                                           LayoutCase{kRgb32, 3, 17, 16}, LayoutCase{kYuy2, 10, 7, 8},
                                           LayoutCase{kUyvy, 32, 16, 0}, LayoutCase{kYuv, 33, 9, 8},
                                           LayoutCase{kYv12, 176, 144, 0}, LayoutCase{kYv12, 35, 21, 8},
                                           LayoutCase{kIyuv, 5, 3, 16}, LayoutCase{kY, 17, 1, 8},
                                           LayoutCase{kYv16, 18, 6, 8}, LayoutCase{kPlanarYrg, 7, 7, 0}));

TEST(VideoFrameLayout420, ChromaPlanesSitWhereTheTightLayoutPutsThem) {
  // With sizes that are multiples of 16 and no border the internal layout is the tight one.
  const std::vector<uint8_t> tight = RandomTight(kIyuv, 32, 16, 3);
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(32, 16, kIyuv, 0));
  frame.ImportTight(tight.data());
  EXPECT_TRUE(std::equal(tight.begin(), tight.end(), frame.data()));
  EXPECT_EQ(frame.Plane(1).origin, frame.data() + 32 * 16);
  EXPECT_EQ(frame.Plane(2).origin, frame.data() + 32 * 16 * 5 / 4);
  EXPECT_EQ(frame.Plane(2).stride, 16);
}

TEST(VideoFrameConvert, RefusesItselfAndEmptySources) {
  VideoFrame frame, empty;
  ASSERT_TRUE(frame.SetFormat(16, 16, kY, 0));
  EXPECT_FALSE(frame.ConvertFrom(frame, kY, 0, false));
  EXPECT_FALSE(frame.ConvertFrom(empty, kY, 0, false));
}

TEST(VideoFrameConvert, EqualColourSpacesCopyIntoTheRequestedBorder) {
  const std::vector<uint8_t> tight = RandomTight(kYv12, 20, 10, 9);
  VideoFrame source, copy;
  ASSERT_TRUE(source.SetFormat(20, 10, kYv12, 0));
  source.ImportTight(tight.data());
  ASSERT_TRUE(copy.ConvertFrom(source, kYv12, 8, false));
  EXPECT_EQ(copy.border(), 8);
  for (int k = 0; k < 3; ++k) ExpectReplicated(copy.Plane(k));
  std::vector<uint8_t> exported(tight.size());
  copy.ExportTight(exported.data());
  EXPECT_EQ(exported, tight);
}

TEST(VideoFrameConvert, KeepsTheExternalBufferWhenTheFormatIsUnchanged) {
  const std::vector<uint8_t> tight = RandomTight(kY, 16, 16, 2);
  VideoFrame source, target;
  ASSERT_TRUE(source.SetFormat(16, 16, kY, 0));
  source.ImportTight(tight.data());
  ASSERT_TRUE(target.SetFormat(16, 16, kY, 0));
  target.ImportTight(tight.data());
  ASSERT_TRUE(target.ConvertFrom(source, kY, 0, false));
  EXPECT_EQ(target.external(), tight.data());
  target.ConvertFrom(source, kYuv, 0, false);  // a change of format drops the external buffer either way
  EXPECT_EQ(target.external(), nullptr);
  EXPECT_TRUE(target.ConvertFrom(source, 13, 0, false));  // codes above 12 are accepted unconverted
}

TEST(VideoFrameFlip, SwapsRowsOfRgb24Only) {
  std::vector<uint8_t> tight(static_cast<size_t>(TightFrameBytes(kRgb24, 16, 16)));
  std::iota(tight.begin(), tight.end(), uint8_t{0});
  VideoFrame frame;
  ASSERT_TRUE(frame.SetFormat(16, 16, kRgb24, 0));
  frame.ImportTight(tight.data());
  ASSERT_TRUE(frame.FlipVertical());
  EXPECT_TRUE(std::equal(tight.begin(), tight.begin() + 48, frame.data() + 15 * 48));

  std::vector<uint8_t> yuy2 = RandomTight(kYuy2, 16, 16, 4);
  VideoFrame packed;
  ASSERT_TRUE(packed.SetFormat(16, 16, kYuy2, 0));
  packed.ImportTight(yuy2.data());
  EXPECT_FALSE(packed.FlipVertical());
  EXPECT_TRUE(std::equal(yuy2.begin(), yuy2.end(), packed.data()));
}

}  // namespace
}  // namespace vidmetra
