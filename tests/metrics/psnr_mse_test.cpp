#include <gtest/gtest.h>

#include <cmath>

#include "support/plane_frames.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/mse_metric.h"
#include "vidmetra/psnr_metric.h"
#include "vidmetra/squared_error.h"

namespace vidmetra {
namespace {

using testing::MakeFlatPlanes;
using testing::MakePlanes;

float MeasureOnce(Metric& metric, PlaneFrame& a, PlaneFrame& b) {
  PlaneFrame* frames[] = {&a, &b};
  return metric.Measure(frames).at(0).value;
}

TEST(Psnr, IdenticalFramesAndTheCap) {
  PsnrMetric psnr({kComponentY, 16, 16});
  auto a = MakeFlatPlanes(16, 16, 77);
  EXPECT_EQ(MeasureOnce(psnr, *a, *a), 100.0f);
  EXPECT_EQ(psnr.GetAverageResult(false).at(0).value, 100.0f);

  // MSE 1e-6 would be 108.1 dB: reported as 100.
  auto b = MakePlanes(16, 16, [](int x, int y) { return x == 0 && y == 0 ? 77.0f + 0.016f : 77.0f; });
  EXPECT_EQ(MeasureOnce(psnr, *a, *b), 100.0f);
}

TEST(Psnr, DifferenceOfOneOnEveryComponent) {
  auto a = MakeFlatPlanes(8, 8, 50);
  auto b = MakeFlatPlanes(8, 8, 51);
  PsnrMetric y({kComponentY, 8, 8});
  EXPECT_NEAR(MeasureOnce(y, *a, *b), 48.1308, 1e-4);
  PsnrMetric l({kComponentL, 8, 8});
  EXPECT_NEAR(MeasureOnce(l, *a, *b), 40.0, 1e-5);
  MseMetric mse({kComponentG, 8, 8});
  EXPECT_EQ(MeasureOnce(mse, *a, *b), 1.0f);
}

TEST(Psnr, HalfUnitMse) {
  auto a = MakeFlatPlanes(4, 2, 10);
  auto b = MakePlanes(4, 2, [](int x, int) { return x % 2 == 0 ? 10.0f : 11.0f; });
  PsnrMetric psnr({kComponentY, 4, 2});
  EXPECT_NEAR(MeasureOnce(psnr, *a, *b), 51.1411, 1e-3);
}

TEST(Psnr, SequenceValueIsThePsnrOfTheMeanMse) {
  PsnrMetric psnr({kComponentY, 4, 4});
  auto a = MakeFlatPlanes(4, 4, 100);
  auto b = MakeFlatPlanes(4, 4, 102);
  EXPECT_EQ(MeasureOnce(psnr, *a, *a), 100.0f);
  EXPECT_NEAR(MeasureOnce(psnr, *a, *b), 42.1102, 1e-3);
  EXPECT_NEAR(psnr.GetAverageResult(false).at(0).value, 45.1205, 1e-3);
}

TEST(Psnr, SequenceValueIsNotLimited) {
  PsnrMetric psnr({kComponentY, 1000, 10});
  auto a = MakeFlatPlanes(1000, 10, 5);
  auto b = MakePlanes(1000, 10, [](int x, int y) { return x == 0 && y == 0 ? 5.05f : 5.0f; });
  MeasureOnce(psnr, *a, *b);  // MSE ~2.5e-7
  EXPECT_GT(psnr.GetAverageResult(false).at(0).value, 100.0f);
}

TEST(Mse, AverageIsTheMeanOfFrameMse) {
  MseMetric mse({kComponentY, 4, 4});
  auto a = MakeFlatPlanes(4, 4, 0);
  auto b = MakeFlatPlanes(4, 4, 2);
  EXPECT_EQ(MeasureOnce(mse, *a, *b), 4.0f);
  EXPECT_EQ(MeasureOnce(mse, *a, *a), 0.0f);
  EXPECT_EQ(mse.GetAverageResult(false).at(0).value, 2.0f);
}

TEST(Properties, PsnrAndMse) {
  PsnrMetric psnr({0, 160, 160});
  MseMetric mse({0, 160, 160});
  EXPECT_EQ(psnr.GetName(), "psnr");
  EXPECT_EQ(psnr.GetUnits(), "dB");
  EXPECT_TRUE(psnr.IsHigherBetter());
  EXPECT_EQ(mse.GetTitle(), "MSE");
  EXPECT_FALSE(mse.IsHigherBetter());
  EXPECT_EQ(psnr.GetSupportedComponents(), (std::vector<int32_t>{0, 1, 2, 4, 5, 6, 3}));
  EXPECT_EQ(mse.GetInputCount(true), 2);
  EXPECT_NE(psnr.GetHelpAddress().find("#psnr"), std::string::npos);
}

Bgr FirstPixel(VideoFrame& target) {
  const uint8_t* p = target.Plane(0).origin;
  return {p[0], p[1], p[2]};
}

// Measures a flat pair with visualization and returns the colour of the first pixel.
template <typename MetricType>
Bgr VisualizeDifference(float difference, int component = kComponentY) {
  MetricType metric({component, 2, 2});
  auto a = MakeFlatPlanes(2, 2, 100);
  auto b = MakeFlatPlanes(2, 2, 100 + difference);
  VideoFrame target;
  EXPECT_TRUE(target.SetFormat(2, 2, kRgb24, 0));
  PlaneFrame* frames[] = {a.get(), b.get()};
  metric.MeasureAndVisualize(frames, target);
  return FirstPixel(target);
}

bool Same(Bgr x, Bgr y) { return x.b == y.b && x.g == y.g && x.r == y.r; }

TEST(PsnrVisualization, ColourBands) {
  EXPECT_TRUE(Same(VisualizeDifference<PsnrMetric>(0), {0, 0, 0}));
  EXPECT_TRUE(Same(VisualizeDifference<PsnrMetric>(1), {0, 0, 0}));  // e = 1 maps to 100
  EXPECT_TRUE(Same(VisualizeDifference<PsnrMetric>(2), {153, 0, 0}));
  EXPECT_TRUE(Same(VisualizeDifference<PsnrMetric>(20), {0, 225, 0}));
  EXPECT_TRUE(Same(VisualizeDifference<PsnrMetric>(30), {0, 250, 250}));
  EXPECT_TRUE(Same(VisualizeDifference<PsnrMetric>(50), {0, 0, 213}));
  EXPECT_TRUE(Same(PsnrColour(-0.5f), {0, 0, 0}));
  EXPECT_TRUE(Same(PsnrColour(98.9f), {40, 0, 0}));
}

TEST(MseVisualization, GreyIsFiveRootsLimited) {
  EXPECT_TRUE(Same(VisualizeDifference<MseMetric>(10), {50, 50, 50}));
  EXPECT_TRUE(Same(VisualizeDifference<MseMetric>(60), {255, 255, 255}));
  EXPECT_TRUE(Same(VisualizeDifference<MseMetric>(0), {0, 0, 0}));
}

}  // namespace
}  // namespace vidmetra
