// Frame preparation: the float planes a metric reads, for every decoded colour space and component.
#include "vidmetra/frame_preparation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "support/frame_fill.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_matrix.h"

namespace vidmetra {
namespace {

using testing::SetBgr;

// A one-colour RGB24 frame of the given size.
void FillBgr(VideoFrame& frame, int width, int height, uint8_t b, uint8_t g, uint8_t r) {
  ASSERT_TRUE(frame.SetFormat(width, height, kRgb24, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetBgr(frame, x, y, b, g, r);
  }
}

float PreparedSample(const VideoFrame& decoded, int component, int matrix, bool all_planes) {
  VideoFrame scratch;
  PlaneFrame planes(decoded.width(), decoded.height());
  EXPECT_TRUE(PrepareFrame(decoded, scratch, planes, component, matrix, all_planes));
  return planes.ComponentPlane(component)[0];
}

TEST(FramePreparation, GreyRgbUnderBothMatrices) {
  VideoFrame grey;
  FillBgr(grey, 2, 2, 128, 128, 128);
  for (const bool all_planes : {false, true}) {
    EXPECT_NEAR(PreparedSample(grey, kComponentY, kRec601, all_planes), 125.952f, 1e-4f);
    EXPECT_NEAR(PreparedSample(grey, kComponentU, kRec601, all_planes), 0.0f, 1e-4f);
    EXPECT_NEAR(PreparedSample(grey, kComponentV, kRec601, all_planes), 0.0f, 1e-4f);
    EXPECT_NEAR(PreparedSample(grey, kComponentY, kPc601, all_planes), 128.0f, 1e-4f);
    EXPECT_NEAR(PreparedSample(grey, kComponentU, kPc601, all_planes), 0.0f, 1e-4f);
    EXPECT_EQ(PreparedSample(grey, kComponentG, kPc601, all_planes), 128.0f);
  }
  VideoFrame blue;
  FillBgr(blue, 1, 1, 0, 0, 255);  // pure red
  EXPECT_LT(PreparedSample(blue, kComponentU, kPc601, false), 0.0f);
}

TEST(FramePreparation, LightnessOfBlackAndWhite) {
  VideoFrame white, black;
  FillBgr(white, 3, 1, 255, 255, 255);
  FillBgr(black, 3, 1, 0, 0, 0);
  for (const bool all_planes : {false, true}) {
    EXPECT_NEAR(PreparedSample(white, kComponentL, kPc601, all_planes), 100.0f, 1e-3f);
    EXPECT_EQ(PreparedSample(black, kComponentL, kPc601, all_planes), 0.0f);
  }
}

TEST(FramePreparation, YuvLumaAndLightness) {
  VideoFrame yuv;
  ASSERT_TRUE(yuv.SetFormat(1, 1, kYuv, 0));
  const uint8_t bytes[3] = {235, 128, 128};
  yuv.ImportTight(bytes);
  for (const bool all_planes : {false, true}) {
    EXPECT_EQ(PreparedSample(yuv, kComponentY, kRec601, all_planes), 235.0f);
    EXPECT_NEAR(PreparedSample(yuv, kComponentR, kRec601, all_planes), 254.916f, 1e-4f);
    EXPECT_NEAR(PreparedSample(yuv, kComponentL, 7, all_planes), 116.0 * std::pow(235 / 255.0, 0.33333) - 16, 1e-3);
  }
}

// Stored row 0 of an RGB frame is the bottom of the picture; of a YUV frame the top. 20 rows, so that the
// allocation (32 rows) is taller than the picture.
TEST(FramePreparation, RowZeroIsTheTopRow) {
  const int width = 3, height = 20;
  VideoFrame rgb;
  ASSERT_TRUE(rgb.SetFormat(width, height, kRgb24, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetBgr(rgb, x, y, static_cast<uint8_t>(y), static_cast<uint8_t>(x), 0);
  }
  VideoFrame yv12;
  ASSERT_TRUE(yv12.SetFormat(width, height, kYv12, 0));
  testing::FillRandom(yv12, 4);
  for (const bool all_planes : {false, true}) {
    VideoFrame scratch;
    PlaneFrame planes(width, height);
    ASSERT_TRUE(PrepareFrame(rgb, scratch, planes, kComponentB, kPc601, all_planes));
    for (int y = 0; y < height; ++y) EXPECT_EQ(planes.B()[y * width + 1], static_cast<float>(height - 1 - y));
    ASSERT_TRUE(PrepareFrame(yv12, scratch, planes, kComponentY, kPc601, all_planes));
    for (int y = 0; y < height; ++y) EXPECT_EQ(planes.Y()[y * width + 2], testing::SampleAt(yv12, 0, 2, y));
  }
}

// The shortened preparation for built-ins gives the component plane bit for bit as the full one does.
// Sizes below, at and above the vector steps of the row kernels, odd and even.
TEST(FramePreparation, SinglePlaneMatchesFullPreparation) {
  for (const auto& [width, height] :
       {std::pair{7, 5}, std::pair{37, 9}, std::pair{64, 4}, std::pair{26, 3}, std::pair{2086, 2}}) {
  for (const int colour_space : {kRgb24, kRgb32, kPlanarRgb, kYuv, kYuy2, kUyvy, kYv12, kIyuv, kY}) {
    VideoFrame decoded;
    ASSERT_TRUE(decoded.SetFormat(width, height, colour_space, 0));
    testing::FillRandom(decoded, static_cast<uint32_t>(colour_space + width));
    for (int component = kComponentY; component <= kComponentB; ++component) {
      for (const int matrix : {0, 1, 5}) {  // REC.601, PC.601, unknown
        VideoFrame scratch_full, scratch_single;
        PlaneFrame full(width, height), single(width, height);
        ASSERT_TRUE(PrepareFrame(decoded, scratch_full, full, component, matrix, true));
        ASSERT_TRUE(PrepareFrame(decoded, scratch_single, single, component, matrix, false));
        const std::string where = std::to_string(width) + "x" + std::to_string(height) + " " + std::to_string(colour_space) + "/" + ColourComponentName(component) + "/" +
                                  std::to_string(matrix);
        EXPECT_EQ(0, std::memcmp(full.ComponentPlane(component), single.ComponentPlane(component),
                                 sizeof(float) * width * height))
            << where;
        EXPECT_EQ(full.content, single.content) << where;
        EXPECT_EQ(full.matrix, single.matrix) << where;
      }
    }
  }
  }
}

TEST(FramePreparation, FullPreparationFillsTheSourcePlanes) {
  VideoFrame rgb, yuy2;
  FillBgr(rgb, 2, 1, 10, 20, 30);
  VideoFrame scratch;
  PlaneFrame planes(2, 1);
  ASSERT_TRUE(PrepareFrame(rgb, scratch, planes, kComponentL, kRec601, true));
  EXPECT_EQ(planes.R()[1], 30.0f);
  EXPECT_EQ(planes.G()[1], 20.0f);
  EXPECT_EQ(planes.B()[1], 10.0f);
  EXPECT_EQ(planes.content, kContentL);
  ASSERT_TRUE(yuy2.SetFormat(2, 1, kYuy2, 0));
  const uint8_t bytes[4] = {50, 100, 60, 200};
  yuy2.ImportTight(bytes);
  ASSERT_TRUE(PrepareFrame(yuy2, scratch, planes, kComponentG, kPc601, true));
  EXPECT_EQ(planes.Y()[1], 60.0f);
  EXPECT_EQ(planes.U()[1], -28.0f);
  EXPECT_EQ(planes.V()[1], 72.0f);
  EXPECT_EQ(planes.content, kContentRgb);
  EXPECT_EQ(planes.matrix, kPc601);
}

TEST(FramePreparation, RefusalsAndPassThrough) {
  VideoFrame scratch, yv16, analysis, empty;
  PlaneFrame planes(4, 2);
  ASSERT_TRUE(yv16.SetFormat(4, 2, kYv16, 0));
  EXPECT_FALSE(PrepareFrame(yv16, scratch, planes, kComponentY, kPc601, true));
  EXPECT_FALSE(PrepareFrame(yv16, scratch, planes, kComponentY, kPc601, false));
  EXPECT_FALSE(PrepareFrame(empty, scratch, planes, kComponentY, kPc601, false));
  ASSERT_TRUE(analysis.SetFormat(4, 2, kPlanarYCbCr, 0));
  planes.Y()[0] = 42.0f;
  EXPECT_TRUE(PrepareFrame(analysis, scratch, planes, kComponentY, kPc601, false));
  EXPECT_EQ(planes.Y()[0], 42.0f);
  VideoFrame larger;
  ASSERT_TRUE(larger.SetFormat(8, 2, kYv12, 0));
  EXPECT_FALSE(PrepareFrame(larger, scratch, planes, kComponentY, kPc601, false));
}

}  // namespace
}  // namespace vidmetra
