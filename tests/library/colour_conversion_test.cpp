// Conversions between whole frames through VideoFrame::ConvertFrom, with the processor's kernels.
#include <gtest/gtest.h>

#include <array>

#include "support/cpu_tiers.h"
#include "support/frame_fill.h"
#include "vidmetra/frame_conversions.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {
namespace {

using testing::SampleAt;
using testing::SetBgr;

struct Yuv {
  int y, u, v;
};

Yuv ConvertOnePixel(uint8_t b, uint8_t g, uint8_t r) {
  VideoFrame rgb, yuv;
  EXPECT_TRUE(rgb.SetFormat(1, 1, kRgb24, 0));
  SetBgr(rgb, 0, 0, b, g, r);
  EXPECT_TRUE(yuv.ConvertFrom(rgb, kYuv, 0, false));
  return Yuv{SampleAt(yuv, 0, 0, 0), SampleAt(yuv, 1, 0, 0), SampleAt(yuv, 2, 0, 0)};
}

// At every CPU tier. V of pure blue lies within float rounding of a half: 0.1f·255 is 25.5000004, so the
// reference's 128.5 − 25.5000004 rounds to the float 103 and truncates to 103, while the vectorised kernels'
// 128 − 25.5000004 = 102.4999996 rounds to nearest, 102.
TEST(ColourConversion, PrimaryColoursToYuv) {
  for (const CpuTier& tier : UsableCpuTiers()) {
    const testing::ScopedCpuMask mask(tier.mask);
    const Yuv white = ConvertOnePixel(255, 255, 255);
    EXPECT_EQ(white.y, 255) << tier.name;
    EXPECT_EQ(white.u, 128) << tier.name;
    EXPECT_EQ(white.v, 128) << tier.name;
    const Yuv black = ConvertOnePixel(0, 0, 0);
    EXPECT_EQ(black.y, 0) << tier.name;
    EXPECT_EQ(black.u, 128) << tier.name;
    EXPECT_EQ(black.v, 128) << tier.name;
    const Yuv blue = ConvertOnePixel(255, 0, 0);
    EXPECT_EQ(blue.y, 29) << tier.name;   // 0.114 * 255 + 0.5 = 29.57
    EXPECT_EQ(blue.u, 239) << tier.name;  // 111.18 + 128.5
    const bool reference = ActiveRgbYuvKernels().rgb_to_yuv == ScalarRgbYuvKernels().rgb_to_yuv;
    EXPECT_EQ(blue.v, reference ? 103 : 102) << tier.name;
    const Yuv red = ConvertOnePixel(0, 0, 255);
    EXPECT_EQ(red.v, 255) << tier.name;  // 156.8 + 128.5 saturates
  }
}

TEST(ColourConversion, BlackYuvConvertsBackToBlack) {
  VideoFrame yuv, rgb;
  ASSERT_TRUE(yuv.SetFormat(3, 2, kYuv, 0));
  for (int k = 0; k < 3; ++k) {
    const PlaneLayout plane = yuv.Plane(k);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) plane.origin[y * plane.stride + x] = k == 0 ? 0 : 128;
    }
  }
  for (const int target : {kRgb24, kRgb32}) {
    ASSERT_TRUE(rgb.ConvertFrom(yuv, target, 0, false));
    for (int x = 0; x < 3; ++x) {
      for (int c = 0; c < 3; ++c) EXPECT_EQ(SampleAt(rgb, 0, x, 1, c), 0) << target;
    }
  }
}

// Columns 3-4 of rows 1-2 blue, everything else black: each 4:2:0 chroma sample tells how many blue pixels its
// block covers (0: 128, 1: 156, 2: 184, 4: 239).
TEST(ColourConversion, OddSizeTo420UsesShiftedLastBlocks) {
  VideoFrame rgb;
  ASSERT_TRUE(rgb.SetFormat(5, 3, kRgb24, 0));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const bool blue = x >= 3 && y >= 1;
      SetBgr(rgb, x, y, blue ? 255 : 0, 0, 0);
    }
  }
  const int expected_u[2][3] = {{128, 156, 184}, {128, 184, 239}};
  for (const int target : {kYv12, kIyuv}) {
    VideoFrame planar;
    ASSERT_TRUE(planar.ConvertFrom(rgb, target, 0, false));
    const int u_plane = target == kYv12 ? 2 : 1;
    EXPECT_EQ(planar.Plane(u_plane).width, 3);
    EXPECT_EQ(planar.Plane(u_plane).height, 2);
    for (int row = 0; row < 2; ++row) {
      for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(SampleAt(planar, u_plane, column, row), expected_u[row][column]) << row << "," << column;
      }
    }
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) EXPECT_EQ(SampleAt(planar, 0, x, y), x >= 3 && y >= 1 ? 29 : 0);
    }
  }
}

TEST(ColourConversion, PerFieldAveragesWithinEachField) {
  VideoFrame rgb, progressive, interlaced;
  ASSERT_TRUE(rgb.SetFormat(2, 4, kRgb24, 0));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 2; ++x) SetBgr(rgb, x, y, y % 2 == 0 ? 255 : 0, 0, 0);  // even rows blue
  }
  ASSERT_TRUE(progressive.ConvertFrom(rgb, kIyuv, 0, false));
  ASSERT_TRUE(interlaced.ConvertFrom(rgb, kIyuv, 0, true));
  EXPECT_EQ(SampleAt(progressive, 1, 0, 0), 184);
  EXPECT_EQ(SampleAt(progressive, 1, 0, 1), 184);
  EXPECT_EQ(SampleAt(interlaced, 1, 0, 0), 239);  // the even field
  EXPECT_EQ(SampleAt(interlaced, 1, 0, 1), 128);  // the odd field
  for (int y = 0; y < 4; ++y) EXPECT_EQ(SampleAt(interlaced, 0, 1, y), y % 2 == 0 ? 29 : 0);
}

TEST(ColourConversion, OddWidthYuy2EndsWithOwnU) {
  VideoFrame rgb, yuy2;
  ASSERT_TRUE(rgb.SetFormat(3, 1, kRgb24, 0));
  SetBgr(rgb, 0, 0, 0, 0, 0);
  SetBgr(rgb, 1, 0, 0, 0, 0);
  SetBgr(rgb, 2, 0, 255, 0, 0);
  ASSERT_TRUE(yuy2.ConvertFrom(rgb, kYuy2, 0, false));
  const PlaneLayout plane = yuy2.Plane(0);
  EXPECT_EQ(plane.origin[4], 29);   // luma of the blue pixel
  EXPECT_EQ(plane.origin[5], 239);  // its own U, not averaged
  EXPECT_EQ(plane.origin[1], 128);
  EXPECT_EQ(plane.origin[3], 128);
}

TEST(ColourConversion, UpsamplingRepeatsChroma) {
  VideoFrame source, yuv;
  ASSERT_TRUE(source.SetFormat(5, 3, kYv12, 0));
  testing::FillRandom(source, 3);
  ASSERT_TRUE(yuv.ConvertFrom(source, kYuv, 0, false));
  const int columns[5] = {0, 0, 1, 2, 2}, rows[3] = {0, 1, 1};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(SampleAt(yuv, 0, x, y), SampleAt(source, 0, x, y));
      EXPECT_EQ(SampleAt(yuv, 1, x, y), SampleAt(source, 2, columns[x], rows[y]));  // YV12: plane 2 is U
      EXPECT_EQ(SampleAt(yuv, 2, x, y), SampleAt(source, 1, columns[x], rows[y]));
    }
  }
  VideoFrame uyvy;
  ASSERT_TRUE(uyvy.SetFormat(4, 1, kUyvy, 0));
  const uint8_t bytes[8] = {10, 20, 30, 40, 50, 60, 70, 80};  // U Y0 V Y1
  uyvy.ImportTight(bytes);
  ASSERT_TRUE(yuv.ConvertFrom(uyvy, kYuv, 0, false));
  const int expected[3][4] = {{20, 40, 60, 80}, {10, 10, 50, 50}, {30, 30, 70, 70}};
  for (int k = 0; k < 3; ++k) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(SampleAt(yuv, k, x, 0), expected[k][x]);
  }
}

TEST(ColourConversion, LumaOnlySources) {
  VideoFrame y_frame, yuv, rgb32;
  ASSERT_TRUE(y_frame.SetFormat(3, 2, kY, 0));
  testing::FillRandom(y_frame, 9);
  ASSERT_TRUE(yuv.ConvertFrom(y_frame, kYuv, 0, false));
  ASSERT_TRUE(rgb32.ConvertFrom(y_frame, kRgb32, 0, false));
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(SampleAt(yuv, 0, x, 1), SampleAt(y_frame, 0, x, 1));
    EXPECT_EQ(SampleAt(yuv, 1, x, 1), 0);
    EXPECT_EQ(SampleAt(yuv, 2, x, 1), 0);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(SampleAt(rgb32, 0, x, 1, c), SampleAt(y_frame, 0, x, 1));
  }
}

TEST(ColourConversion, RoundTripsThroughRearrangements) {
  VideoFrame rgb, other, back;
  ASSERT_TRUE(rgb.SetFormat(7, 5, kRgb24, 0));
  testing::FillRandom(rgb, 21);
  for (const int middle : {kPlanarRgb, kPlanarGDiff, kRgb32}) {
    ASSERT_TRUE(other.ConvertFrom(rgb, middle, 0, false));
    ASSERT_TRUE(back.ConvertFrom(other, kRgb24, 0, false));
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 7; ++x) {
        for (int c = 0; c < 3; ++c) ASSERT_EQ(SampleAt(back, 0, x, y, c), SampleAt(rgb, 0, x, y, c)) << middle;
      }
    }
  }
  VideoFrame yuy2, yv16, yuy2_back;
  ASSERT_TRUE(yuy2.SetFormat(6, 3, kYuy2, 0));
  testing::FillRandom(yuy2, 5);
  ASSERT_TRUE(yv16.ConvertFrom(yuy2, kYv16, 0, false));
  ASSERT_TRUE(yuy2_back.ConvertFrom(yv16, kYuy2, 0, false));
  EXPECT_EQ(SampleAt(yv16, 2, 1, 2), SampleAt(yuy2, 0, 2, 2, 1));  // U of the second pair
  EXPECT_EQ(SampleAt(yv16, 1, 1, 2), SampleAt(yuy2, 0, 3, 2, 1));  // V of the second pair
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) {
      for (int c = 0; c < 2; ++c) ASSERT_EQ(SampleAt(yuy2_back, 0, x, y, c), SampleAt(yuy2, 0, x, y, c));
    }
  }
}

TEST(ColourConversion, AnalysisPlanes) {
  VideoFrame rgb, planes;
  ASSERT_TRUE(rgb.SetFormat(2, 1, kRgb24, 0));
  SetBgr(rgb, 0, 0, 255, 255, 255);
  SetBgr(rgb, 1, 0, 10, 200, 30);  // B 10, G 200, R 30
  ASSERT_TRUE(planes.ConvertFrom(rgb, kPlanarYCbCr, 0, false));
  EXPECT_EQ(SampleAt(planes, 0, 0, 0), 255);
  EXPECT_EQ(SampleAt(planes, 1, 0, 0), 128);
  EXPECT_EQ(SampleAt(planes, 2, 0, 0), 128);
  EXPECT_EQ(SampleAt(planes, 0, 1, 0), (306 * 30 + 601 * 200 + 117 * 10) >> 10);
  EXPECT_EQ(SampleAt(planes, 1, 1, 0), 70);  // 4.39 - 58.2 - 4.44 + 128.5 = 70.25
  ASSERT_TRUE(planes.ConvertFrom(rgb, kPlanarYrg, 0, false));
  EXPECT_EQ(SampleAt(planes, 1, 0, 0), 255 * 255 / 766);
  EXPECT_EQ(SampleAt(planes, 1, 1, 0), 255 * 30 / 241);
  EXPECT_EQ(SampleAt(planes, 2, 1, 0), 255 * 200 / 241);
  ASSERT_TRUE(planes.ConvertFrom(rgb, kPlanarGDiff, 0, false));
  EXPECT_EQ(SampleAt(planes, 0, 1, 0), 200);
  EXPECT_EQ(SampleAt(planes, 1, 1, 0), (30 - 200) & 0xFF);
  EXPECT_EQ(SampleAt(planes, 2, 1, 0), (10 - 200) & 0xFF);
}

TEST(ColourConversion, UnsupportedPairsFail) {
  VideoFrame rgb, target;
  ASSERT_TRUE(rgb.SetFormat(4, 4, kRgb24, 0));
  EXPECT_FALSE(target.ConvertFrom(rgb, kUyvy, 0, false));
  EXPECT_FALSE(target.ConvertFrom(rgb, kY, 0, false));
  EXPECT_FALSE(target.ConvertFrom(rgb, kYv16, 0, false));
  VideoFrame yv16;
  ASSERT_TRUE(yv16.SetFormat(4, 4, kYv16, 0));
  EXPECT_FALSE(target.ConvertFrom(yv16, kYuv, 0, false));
}

}  // namespace
}  // namespace vidmetra
