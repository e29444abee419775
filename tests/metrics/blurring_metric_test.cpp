#include "vidmetra/blurring_metric.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/metric_properties.h"
#include "support/plane_frames.h"
#include "support/visualization_target.h"

namespace vidmetra {
namespace {

using namespace testing;  // the frame and target builders

float Sharpness(const PlaneFrame& frame, int component = kComponentY) {
  BlurringMetric metric({component, frame.width(), frame.height()});
  PlaneFrame* frames[] = {const_cast<PlaneFrame*>(&frame)};
  return metric.Measure(frames).at(0).value;
}

TEST(Blurring, FlatAndStripedPlanes) {
  EXPECT_EQ(Sharpness(*MakeFlatPlanes(8, 6, 77)), 0.0f);
  // Stripes one column wide: the neighbours on both sides are equal.
  EXPECT_EQ(Sharpness(*MakePlanes(8, 6, [](int x, int) { return x % 2 ? 100.0f : 0.0f; })), 0.0f);
  EXPECT_EQ(Sharpness(*MakePlanes(8, 6, [](int x, int) { return (x / 2) % 2 ? 100.0f : 0.0f; })), 100.0f);
}

TEST(Blurring, OnlyInteriorSamplesCount) {
  // x²: horizontal terms 4 and 8 on the two interior columns, vertical terms 0.
  EXPECT_EQ(Sharpness(*MakePlanes(4, 4, [](int x, int) { return static_cast<float>(x * x); })), 6.0f);
  // Both directions add: 2 from each.
  EXPECT_EQ(Sharpness(*MakePlanes(6, 4, [](int x, int y) { return static_cast<float>(x + y); }), kComponentV), 4.0f);
  EXPECT_TRUE(std::isnan(Sharpness(*MakeFlatPlanes(2, 2, 5))));
}

TEST(Blurring, TwoSeriesWithVisualization) {
  BlurringMetric metric({kComponentY, 6, 4});
  auto sharp = MakePlanes(6, 4, [](int x, int) { return static_cast<float>(10 * x); });
  auto soft = MakePlanes(6, 4, [](int x, int) { return static_cast<float>(5 * x); });
  auto target = MakeTarget(6, 4);
  PlaneFrame* frames[] = {sharp.get(), soft.get()};
  const FrameResult result = metric.MeasureAndVisualize(frames, *target);
  const std::vector<int32_t> ids = metric.GetResultIds();
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[1], ids[0] + 1);
  EXPECT_EQ(result, (FrameResult{{ids[0], 20.0f}, {ids[1], 10.0f}}));
  // Original sharper: 3 × 10 of red inside, the border untouched.
  EXPECT_TRUE(SameColour(PixelAt(*target, 1, 1), {0, 0, 30}));
  EXPECT_TRUE(SameColour(PixelAt(*target, 4, 2), {0, 0, 30}));
  EXPECT_TRUE(SameColour(PixelAt(*target, 0, 1), {0, 0, 0}));
  EXPECT_TRUE(SameColour(PixelAt(*target, 5, 3), {0, 0, 0}));
  PlaneFrame* swapped[] = {soft.get(), sharp.get()};
  metric.MeasureAndVisualize(swapped, *target);
  EXPECT_TRUE(SameColour(PixelAt(*target, 2, 1), {0, 30, 0}));
}

TEST(Blurring, IdenticalPairGivesEqualSeriesAndBlackMap) {
  BlurringMetric metric({kComponentU, 8, 8});
  auto frame = MakePlanes(8, 8, [](int x, int y) { return static_cast<float>((x * 7 + y * 13) % 31); });
  auto target = MakeTarget(8, 8);
  PlaneFrame* frames[] = {frame.get(), frame.get()};
  const FrameResult result = metric.MeasureAndVisualize(frames, *target);
  ASSERT_EQ(result.size(), 2u);
  EXPECT_GT(result[0].value, 0.0f);
  EXPECT_EQ(result[0].value, result[1].value);
  EXPECT_TRUE(AllPixels(*target, {0, 0, 0}));
}

TEST(Blurring, AveragesOfEachSeries) {
  BlurringMetric plain({kComponentY, 4, 4});
  BlurringMetric paired({kComponentY, 4, 4});
  auto two = MakePlanes(4, 4, [](int x, int) { return static_cast<float>(x); });       // sharpness 2
  auto four = MakePlanes(4, 4, [](int x, int) { return static_cast<float>(2 * x); });  // sharpness 4
  auto target = MakeTarget(4, 4);
  for (PlaneFrame* frame : {two.get(), four.get()}) {
    PlaneFrame* single[] = {frame};
    plain.Measure(single);
    PlaneFrame* pair[] = {frame, two.get()};
    paired.MeasureAndVisualize(pair, *target);
  }
  const std::vector<int32_t> ids = paired.GetResultIds();
  EXPECT_EQ(plain.GetAverageResult(false), (FrameResult{{plain.GetResultIds()[0], 3.0f}}));
  EXPECT_EQ(paired.GetAverageResult(true), (FrameResult{{ids[0], 3.0f}, {ids[1], 2.0f}}));
  EXPECT_EQ(paired.GetAverageResult(false), (FrameResult{{ids[0], 3.0f}}));
}

TEST(Blurring, PropertiesAndSeries) {
  BlurringMetric metric({0, 160, 160});
  const std::vector<int32_t> ids = metric.GetResultIds();
  ExpectProperties(metric, {"blurring_measure", "Zyr Blurring BETA", true, 1, 2, 2, {0, 1, 2}});
  EXPECT_EQ(metric.DescribeResults(false), (ResultDescriptors{{ids[0], {0}, ""}}));
  EXPECT_EQ(metric.DescribeResults(true), (ResultDescriptors{{ids[0], {0}, ""}, {ids[1], {1}, ""}}));
  EXPECT_EQ(ResultIdCounter(), ids[1] + 1);
}

}  // namespace
}  // namespace vidmetra
