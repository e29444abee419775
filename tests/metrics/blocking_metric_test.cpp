#include "vidmetra/blocking_metric.h"

#include <gtest/gtest.h>

#include "support/metric_properties.h"
#include "support/plane_frames.h"
#include "support/visualization_target.h"

namespace vidmetra {
namespace {

using namespace testing;  // the frame and target builders

struct Visualized {
  float value;
  std::unique_ptr<VideoFrame> target;
  // Grey level of picture pixel (x, y), y counted from the top.
  int Grey(int x, int y) const { return PixelAt(*target, x, y).g; }
};

Visualized Visualize(const PlaneFrame& frame) {
  BlockingMetric metric({kComponentY, frame.width(), frame.height()});
  Visualized result{0.0f, MakeTarget(frame.width(), frame.height())};
  PlaneFrame* frames[] = {const_cast<PlaneFrame*>(&frame)};
  result.value = metric.MeasureAndVisualize(frames, *result.target).at(0).value;
  EXPECT_EQ(metric.Measure(frames).at(0).value, result.value);
  return result;
}

TEST(Blocking, NoBlockStructureScoresZero) {
  EXPECT_EQ(Visualize(*MakeFlatPlanes(16, 16, 90)).value, 0.0f);
  const auto ramp = Visualize(*MakePlanes(24, 16, [](int x, int y) { return static_cast<float>(3 * x + 2 * y); }));
  EXPECT_EQ(ramp.value, 0.0f);
  EXPECT_EQ(ramp.Grey(7, 3), 0);
}

TEST(Blocking, SmallStepAcrossTheVerticalBoundary) {
  const auto step = Visualize(*MakePlanes(16, 16, [](int x, int) { return x < 8 ? 100.0f : 110.0f; }));
  EXPECT_EQ(step.value, 160.0f);
  // All 16 rows of the vertical boundary are marked, except where the horizontal boundary's marks (0 there)
  // are drawn later.
  for (int y = 0; y < 16; ++y) {
    const int expected = y == 7 || y == 8 ? 0 : 160;
    EXPECT_EQ(step.Grey(7, y), expected) << y;
    EXPECT_EQ(step.Grey(8, y), expected) << y;
    EXPECT_EQ(step.Grey(6, y), 0);
  }
}

TEST(Blocking, SmallStepAcrossTheHorizontalBoundary) {
  const auto step = Visualize(*MakePlanes(16, 16, [](int, int y) { return y < 8 ? 100.0f : 110.0f; }));
  EXPECT_EQ(step.value, 160.0f);
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(step.Grey(x, 7), 160) << x;
    EXPECT_EQ(step.Grey(x, 8), 160) << x;
    EXPECT_EQ(step.Grey(x, 9), 0);
  }
}

TEST(Blocking, LargeStepIsARealEdge) {
  const auto edge = Visualize(*MakePlanes(16, 16, [](int x, int) { return x < 8 ? 100.0f : 200.0f; }));
  EXPECT_EQ(edge.value, 0.0f);
  EXPECT_EQ(edge.Grey(7, 0), 255);
  EXPECT_EQ(edge.Grey(8, 15), 255);
  EXPECT_EQ(edge.Grey(9, 15), 0);
}

TEST(Blocking, MarksFollowThePreviousMarkWithinALimit) {
  // Right of the boundary the picture is 110 except for its bottom 4 rows: walking up from the bottom row, the
  // evaluations are 0, 0, 0, 1, 12 and then 160 on flat ground, drawn rising by at most 50 per row.
  const auto frame = MakePlanes(16, 16, [](int x, int y) { return x < 8 || y >= 12 ? 100.0f : 110.0f; });
  const auto marked = Visualize(*frame);
  const int expected[] = {0, 0, 0, 1, 12, 62, 112};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(marked.Grey(8, 15 - k), expected[k]) << k;
  EXPECT_EQ(marked.Grey(7, 0), 160);
  EXPECT_EQ(marked.Grey(8, 6), 160);
  // The pooled value uses the evaluations themselves: 1 + 12 + 11 × 160 over 13 positions.
  EXPECT_FLOAT_EQ(marked.value, 1773.0f / 13.0f);
}

TEST(Blocking, TexturedPositionFormula) {
  BlockingMetric metric({kComponentY, 16, 16});
  // Three lines of s(−1), s(0), s(1), s(2): D0 = −2, 0, 2; D1 = 6, 5, 4; D2 = 0, 1, −1.
  const float lines[3][4] = {{10, 12, 6, 6}, {11, 11, 6, 5}, {14, 12, 8, 9}};
  const double excess = (6 - (-2 >> 1)) + (5 - (1 >> 1)) + (4 - (1 >> 1));  // 7 + 5 + 4
  const double e = excess * (1.0 / 3.0);
  const double e2 = e * 0.5;
  const int variation = (static_cast<int>(1.0f + 1.0f) >> 1) + (static_cast<int>(2.0f + 0.0f) >> 1);
  const double activity = (e2 / 3 + e2 / 2 + e2 / 4) * static_cast<double>(0.33333334f);
  const double expected = e * (e2 / (variation + 1)) * activity;
  EXPECT_DOUBLE_EQ(metric.EvaluatePosition(&lines[0][1], 4, 1, 3, false), expected);
}

TEST(Blocking, LimitOf255AndTheEdgeThreshold) {
  BlockingMetric metric({kComponentY, 16, 16});
  // A step of 40 on lines that are alike along the boundary but not quite flat: far above 255 unless limited.
  float lines[3][4] = {{101, 100, 60, 60}, {100, 100, 60, 59}, {101, 100, 60, 59}};
  EXPECT_GT(metric.EvaluatePosition(&lines[0][1], 4, 1, 3, false), 255.0);
  EXPECT_EQ(metric.EvaluatePosition(&lines[0][1], 4, 1, 3, true), 255.0);
  EXPECT_GT(metric.EvaluatePosition(&lines[0][1], 4, 1, 2, false), 255.0);
  // Mean step 121 / 3 = 40 still counts as blocking; 41 is a real edge.
  lines[2][2] = 59;
  EXPECT_GT(metric.EvaluatePosition(&lines[0][1], 4, 1, 3, false), 0.0);
  lines[0][2] = 57;
  lines[1][2] = 57;
  EXPECT_EQ(metric.EvaluatePosition(&lines[0][1], 4, 1, 3, false), -1.0);
}

TEST(Blocking, Properties) {
  BlockingMetric metric({0, 160, 160});
  ExpectProperties(metric, {"blocking_measure", "Zyr Blocking (MPEG-4) BETA", false, 1, 1, 8, {0}});
  const ResultDescriptors expected{{metric.GetResultIds()[0], {0}, ""}};
  EXPECT_EQ(metric.DescribeResults(true), expected);
  EXPECT_EQ(metric.DescribeResults(false), expected);
}

}  // namespace
}  // namespace vidmetra
