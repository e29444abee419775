#include "vidmetra/ssim_metric.h"

#include <gtest/gtest.h>

#include <random>

#include "support/metric_properties.h"
#include "support/plane_frames.h"
#include "support/visualization_target.h"

namespace vidmetra {
namespace {

using namespace testing;  // the frame and target builders

// The index of the window at (x, y) from its 64 samples, in double precision.
double DirectWindowIndex(const PlaneFrame& a, const PlaneFrame& b, int x, int y) {
  double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
  for (int j = y; j < y + 8; ++j) {
    for (int i = x; i < x + 8; ++i) {
      const double va = const_cast<PlaneFrame&>(a).Y()[j * a.width() + i];
      const double vb = const_cast<PlaneFrame&>(b).Y()[j * b.width() + i];
      sa += va, sb += vb, saa += va * va, sbb += vb * vb, sab += va * vb;
    }
  }
  const double c1 = 26634.24, c2 = 239708.16;
  return ((2 * sa * sb + c1) * (2 * (64 * sab - sa * sb) + c2)) /
         ((sa * sa + sb * sb + c1) * ((64 * saa - sa * sa) + (64 * sbb - sb * sb) + c2));
}

double DirectMean(const PlaneFrame& a, const PlaneFrame& b) {
  double sum = 0.0;
  int windows = 0;
  for (int y = 0; y + 8 <= a.height(); ++y) {
    for (int x = 0; x + 8 <= a.width(); ++x, ++windows) sum += DirectWindowIndex(a, b, x, y);
  }
  return sum / windows;
}

std::unique_ptr<PlaneFrame> RandomPlanes(int width, int height, unsigned seed, int low, int high) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> level(low, high);
  return MakePlanes(width, height, [&](int, int) { return static_cast<float>(level(random)); });
}

float MeasureSsim(const PlaneFrame& a, const PlaneFrame& b) {
  SsimMetric metric({kComponentY, a.width(), a.height()});
  PlaneFrame* frames[] = {const_cast<PlaneFrame*>(&a), const_cast<PlaneFrame*>(&b)};
  return metric.Measure(frames).at(0).value;
}

TEST(Ssim, IdenticalFramesScoreExactlyOne) {
  auto a = RandomPlanes(24, 16, 3, 0, 255);
  SsimMetric metric({kComponentY, 24, 16});
  auto target = MakeTarget(24, 16);
  PlaneFrame* frames[] = {a.get(), a.get()};
  EXPECT_EQ(metric.MeasureAndVisualize(frames, *target).at(0).value, 1.0f);
  EXPECT_EQ(metric.GetAverageResult(true).at(0).value, 1.0f);
  EXPECT_TRUE(AllPixels(*target, {0, 0, 0}));
}

TEST(Ssim, WindowsOfSmallFrames) {
  // One window in 8 × 8, 81 in 16 × 16: the frame value is the mean over exactly those.
  auto a8 = RandomPlanes(8, 8, 5, 0, 255);
  auto b8 = RandomPlanes(8, 8, 6, 0, 255);
  EXPECT_NEAR(MeasureSsim(*a8, *b8), DirectWindowIndex(*a8, *b8, 0, 0), 1e-6);
  auto a16 = RandomPlanes(16, 16, 7, 40, 200);
  auto b16 = MakePlanes(16, 16, [&](int x, int y) { return a16->Y()[y * 16 + x] * 0.7f + static_cast<float>(x); });
  EXPECT_NEAR(MeasureSsim(*a16, *b16), DirectMean(*a16, *b16), 1e-6);
  auto a40 = RandomPlanes(40, 24, 8, 0, 255);
  auto b40 = RandomPlanes(40, 24, 9, 0, 255);
  EXPECT_NEAR(MeasureSsim(*a40, *b40), DirectMean(*a40, *b40), 1e-6);
}

TEST(Ssim, ConstantFramesDifferOnlyInMean) {
  auto a = MakeFlatPlanes(16, 8, 100);
  auto b = MakeFlatPlanes(16, 8, 110);
  const double expected = (2.0 * 6400 * 7040 + 26634.24) / (6400.0 * 6400 + 7040.0 * 7040 + 26634.24);
  EXPECT_NEAR(MeasureSsim(*a, *b), expected, 1e-6);
  EXPECT_NEAR(MeasureSsim(*a, *b), 0.99548, 1e-5);
}

TEST(Ssim, SymmetricInItsInputs) {
  auto a = RandomPlanes(32, 16, 10, 0, 255);
  auto b = RandomPlanes(32, 16, 11, 0, 255);
  EXPECT_EQ(MeasureSsim(*a, *b), MeasureSsim(*b, *a));
}

TEST(Ssim, MapPlacesWindowsAtTheirRightAndBottomEdges) {
  // Only the last 8 × 8 block differs: windows reaching into it are bright, the others black.
  auto a = MakePlanes(16, 16, [](int x, int y) { return static_cast<float>((x * 37 + y * 11) % 200); });
  auto b = MakePlanes(16, 16, [&](int x, int y) {
    return x >= 8 && y >= 8 ? 255.0f - a->Y()[y * 16 + x] : a->Y()[y * 16 + x];
  });
  SsimMetric metric({kComponentY, 16, 16});
  auto target = MakeTarget(16, 16);
  PlaneFrame* frames[] = {a.get(), b.get()};
  metric.MeasureAndVisualize(frames, *target);
  // Rows 0 to 6 end no window; row 7 holds the top window row, which does not reach the changed block.
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) EXPECT_EQ(PixelAt(*target, x, y).g, 0) << x << "," << y;
  }
  // Row 8: the first window (columns 0 to 7) is unchanged, the second one reaches column 8.
  EXPECT_EQ(PixelAt(*target, 0, 8).g, 0);
  EXPECT_EQ(PixelAt(*target, 7, 8).g, 0);
  EXPECT_GT(PixelAt(*target, 8, 8).g, 0);
  EXPECT_GT(PixelAt(*target, 15, 15).g, 0);
}

TEST(Ssim, Properties) {
  SsimMetric metric({0, 160, 160});
  ExpectProperties(metric, {"ssim", "SSIM", true, 2, 2, 8, {0}});
}

}  // namespace
}  // namespace vidmetra
