// The float plane conversions between YUV, RGB and L, and the byte-domain YUV to BGR helper.
#include "vidmetra/plane_colour.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "vidmetra/yuv_to_bgr_bytes.h"

namespace vidmetra {
namespace {

void SetYuv(PlaneFrame& planes, size_t i, float y, float u, float v) {
  planes.Y()[i] = y;
  planes.U()[i] = u;
  planes.V()[i] = v;
}

TEST(PlaneColour, YuvToRgbUnderRec601ClampsOnlyBeyondTheRange) {
  PlaneFrame planes(2, 1);
  SetYuv(planes, 0, 235.0f, 0.0f, 0.0f);
  SetYuv(planes, 1, 255.0f, 0.0f, 0.0f);
  planes.content = kContentYuv;
  ConvertYuvToRgb(planes, kRec601);
  for (float* plane : {planes.R(), planes.G(), planes.B()}) {
    EXPECT_NEAR(plane[0], 254.916f, 1e-4f);
    EXPECT_EQ(plane[1], 255.0f);
  }
  EXPECT_EQ(planes.content, kContentRgb);
  EXPECT_EQ(planes.matrix, kRec601);
}

TEST(PlaneColour, YuvToRgbUnderPc601) {
  PlaneFrame planes(1, 1);
  SetYuv(planes, 0, 100.0f, 10.0f, -20.0f);
  planes.content = kContentYuv;
  ConvertYuvToRgb(planes, kPc601);
  EXPECT_NEAR(planes.R()[0], 100.0f - 22.8f, 1e-4f);
  EXPECT_NEAR(planes.G()[0], 100.0f - 3.95f + 11.62f, 1e-4f);
  EXPECT_NEAR(planes.B()[0], 120.32f, 1e-4f);
}

TEST(PlaneColour, ConversionsActOnlyOnTheirContent) {
  PlaneFrame planes(1, 1);
  planes.R()[0] = 7.0f;
  planes.content = kContentRgb;
  ConvertYuvToRgb(planes, kPc601);  // not YUV content: nothing happens
  EXPECT_EQ(planes.R()[0], 7.0f);
  EXPECT_EQ(planes.content, kContentRgb);
  planes.content = kContentL;
  planes.L()[0] = 3.0f;
  ComputeL(planes, kPc601);
  EXPECT_EQ(planes.L()[0], 3.0f);
  ConvertRgbToYuv(planes, kPc601);
  EXPECT_EQ(planes.content, kContentL);
}

TEST(PlaneColour, UnknownMatrixComputesNothingButIsRecorded) {
  PlaneFrame planes(1, 1);
  planes.Y()[0] = 9.0f;
  planes.R()[0] = 200.0f;
  planes.content = kContentRgb;
  ConvertRgbToYuv(planes, 3);
  EXPECT_EQ(planes.Y()[0], 9.0f);
  EXPECT_EQ(planes.content, kContentYuv);
  EXPECT_EQ(planes.matrix, 3);
  ConvertYuvToRgb(planes, -1);
  EXPECT_EQ(planes.R()[0], 200.0f);
  EXPECT_EQ(planes.content, kContentRgb);
  EXPECT_EQ(planes.matrix, -1);
  planes.L()[0] = 1.0f;
  ComputeL(planes, 2);
  EXPECT_EQ(planes.L()[0], 1.0f);
  EXPECT_EQ(planes.content, kContentL);
}

TEST(PlaneColour, RgbToYuvUnderBothMatrices) {
  PlaneFrame planes(1, 1);
  planes.R()[0] = 255.0f;
  planes.G()[0] = 0.0f;
  planes.B()[0] = 0.0f;
  planes.content = kContentRgb;
  ConvertRgbToYuv(planes, kRec601);
  EXPECT_NEAR(planes.Y()[0], 0.257f * 255 + 16, 1e-4f);
  EXPECT_NEAR(planes.U()[0], -0.148f * 255, 1e-4f);
  EXPECT_NEAR(planes.V()[0], 0.439f * 255, 1e-4f);
  planes.content = kContentRgb;
  ConvertRgbToYuv(planes, kPc601);
  EXPECT_NEAR(planes.V()[0], 0.615f * 255, 1e-4f);
}

TEST(PlaneColour, LightnessBranches) {
  PlaneFrame planes(3, 1);
  SetYuv(planes, 0, 2.04f, 0, 0);  // t = 0.008: the linear branch
  SetYuv(planes, 1, 0.0f, 0, 0);
  SetYuv(planes, 2, 255.0f, 0, 0);
  planes.content = kContentYuv;
  ComputeL(planes, 9);  // the matrix plays no part for YUV content
  EXPECT_NEAR(planes.L()[0], 7.2264f, 1e-4f);
  EXPECT_EQ(planes.L()[1], 0.0f);
  EXPECT_NEAR(planes.L()[2], 100.0f, 1e-3f);
  EXPECT_EQ(planes.matrix, 9);
  EXPECT_NEAR(LightnessOf(0.008), 7.2264f, 1e-5f);
  // Just above the threshold the cube-root branch applies.
  EXPECT_NEAR(LightnessOf(0.0089), 116.0 * std::pow(0.0089, 0.33333) - 16.0, 1e-4);
}

// Every one of the 2^24 pixels under both matrices, against the formulas pixel by pixel; the rows' padding
// stays untouched.
TEST(YuvToBgrBytes, TablesGiveTheFormulasForEveryPixel) {
  constexpr int kSide = 256, kStride = 3 * kSide + 5;
  std::vector<uint8_t> source(3 * kSide * kSide);
  for (int y = 0; y < 256; ++y) {
    for (size_t i = 0; i < static_cast<size_t>(kSide * kSide); ++i) {
      source[i] = static_cast<uint8_t>(y);
      source[kSide * kSide + i] = static_cast<uint8_t>(i % kSide);
      source[2 * kSide * kSide + i] = static_cast<uint8_t>(i / kSide);
    }
    for (const int matrix : {kRec601, kPc601}) {
      std::vector<uint8_t> fast(kStride * kSide, 7), reference(kStride * kSide, 7);
      YuvToBgrBytes(source.data(), fast.data(), kSide, kSide, kStride, matrix);
      YuvToBgrBytesReference(source.data(), reference.data(), kSide, kSide, kStride, matrix);
      ASSERT_EQ(fast, reference) << "Y " << y << " matrix " << matrix;
    }
  }
}

TEST(YuvToBgrBytes, BothMatricesTruncateAndClamp) {
  // Two pixels: (235, 128, 128) and (255, 255, 0), as Y plane, U plane, V plane.
  const std::array<uint8_t, 6> source{235, 255, 128, 255, 128, 0};
  std::array<uint8_t, 16> target{};
  target.fill(7);
  EXPECT_TRUE(YuvToBgrBytes(source.data(), target.data(), 2, 1, 16, kRec601));
  EXPECT_EQ(target[0], 254);  // 254.916 truncated
  EXPECT_EQ(target[1], 254);
  EXPECT_EQ(target[2], 254);
  EXPECT_EQ(target[3], 255);  // 1.164 * 239 + 2.018 * 127 clamps
  EXPECT_EQ(target[5], 73);   // 1.164 * 239 - 1.596 * 128 = 73.908
  EXPECT_TRUE(YuvToBgrBytes(source.data(), target.data(), 2, 1, 16, kPc601));
  EXPECT_EQ(target[0], 235);
  EXPECT_EQ(target[5], 109);  // 255 - 1.14 * 128 = 109.08
  target.fill(7);
  EXPECT_TRUE(YuvToBgrBytes(source.data(), target.data(), 2, 1, 16, 4));
  EXPECT_EQ(target[0], 7);
}

}  // namespace
}  // namespace vidmetra
