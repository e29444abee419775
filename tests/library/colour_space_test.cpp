#include "vidmetra/colour_space.h"

#include <gtest/gtest.h>

namespace vidmetra {
namespace {

TEST(ColourSpace, PerCodeFunctions) {
  const int factor[] = {3, 4, 3, 2, 2, 2, 2, 1, 2, 3, 3, 3, 3};
  const int step[] = {3, 4, 1, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1};
  for (int code = 0; code <= 12; ++code) {
    EXPECT_EQ(AllocationFactor(code), factor[code]) << code;
    EXPECT_EQ(PixelStep(code), step[code]) << code;
  }
  // Codes outside the lists fall to the last value.
  EXPECT_EQ(AllocationFactor(13), 4);
  EXPECT_EQ(PixelStep(-1), 4);
}

TEST(ColourSpace, RowBytes) {
  EXPECT_EQ(RowBytes(kRgb32, 3), 16);
  EXPECT_EQ(RowBytes(kRgb24, 5), 16);
  EXPECT_EQ(RowBytes(kRgb24, 112), 336);
  EXPECT_EQ(RowBytes(kYuy2, 7), 14);
  EXPECT_EQ(RowBytes(kYv12, 7), 7);
}

TEST(ColourSpace, Classification) {
  for (int code = 0; code <= 12; ++code) {
    EXPECT_EQ(IsRgbLike(code), code == 0 || code == 1 || code == 9) << code;
    EXPECT_EQ(IsYuvLike(code), code >= 2 && code <= 8) << code;
  }
  EXPECT_STREQ(ColourSpaceLabel(kIyuv), "IYUV");
  EXPECT_STREQ(ColourSpaceLabel(kYv16), "");
}

TEST(ColourSpace, TightFrameBytes) {
  EXPECT_EQ(TightFrameBytes(kYv12, 176, 144), 38016);
  EXPECT_EQ(TightFrameBytes(kIyuv, 5, 3), 15 + 2 * 3 * 2);
  EXPECT_EQ(TightFrameBytes(kYv16, 5, 3), 15 + 2 * 2 * 3);
  EXPECT_EQ(TightFrameBytes(kRgb24, 5, 2), 32);
  EXPECT_EQ(TightFrameBytes(kYuv, 4, 4), 48);
}

}  // namespace
}  // namespace vidmetra
