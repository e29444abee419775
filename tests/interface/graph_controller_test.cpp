// The graph's frame arithmetic and value axis, driven without a window.
#include <gtest/gtest.h>

#include <random>

#include "graph_controller.h"
#include "plot_source.h"
#include "value_scale.h"

namespace vidmetra::plot {
namespace {

struct Recorder : GraphListener {
  void ViewChanged(int32_t start, int32_t end, int32_t current) override {
    ++calls;
    last = {start, end, current};
  }
  int calls = 0;
  std::array<int32_t, 3> last{};
};

TEST(GraphController, OpensOnTheMiddleOfTheRange) {
  const GraphController long_run(0, 2999, std::nullopt);
  EXPECT_EQ(long_run.view_start(), 999);
  EXPECT_EQ(long_run.view_end(), 1999);
  EXPECT_EQ(long_run.current(), 1499);
  const GraphController short_run(0, 9, std::nullopt);
  EXPECT_EQ(short_run.view_start(), 2);
  EXPECT_EQ(short_run.view_end(), 6);
  EXPECT_EQ(short_run.current(), 4);
}

TEST(GraphController, WideningStopsAtTheRangeAndNarrowingAtTwoFrames) {
  GraphController controller(5, 60, std::nullopt);
  for (int i = 0; i < 100; ++i) controller.Widen();
  EXPECT_EQ(controller.view_start(), 5);
  EXPECT_EQ(controller.view_end(), 60);
  for (int i = 0; i < 100; ++i) controller.Narrow();
  EXPECT_EQ(controller.view_end() - controller.view_start(), 2);
  controller.Wheel(120 * 7);
  EXPECT_EQ(controller.view_end() - controller.view_start(), 9);
}

TEST(GraphController, RangesTooShortForTwoFramesKeepTheirWholeRange) {
  GraphController single(7, 7, std::nullopt);
  single.Narrow();
  single.Widen();
  EXPECT_EQ(single.view_start(), 7);
  EXPECT_EQ(single.view_end(), 7);
  EXPECT_EQ(single.current(), 7);
}

TEST(GraphController, BadFrameStepsAndTheLastBadFrame) {
  GraphController controller(0, 99, std::vector<int32_t>{70, 10, 40});
  Recorder recorder;
  controller.AddListener(&recorder);
  controller.GoToFrame(0, true);
  controller.NextBadFrame();
  EXPECT_EQ(controller.current(), 10);
  controller.NextBadFrame();
  controller.NextBadFrame();
  EXPECT_EQ(controller.current(), 70);
  const int calls = recorder.calls;
  const auto view = std::make_pair(controller.view_start(), controller.view_end());
  controller.NextBadFrame();  // nothing beyond the last one
  EXPECT_EQ(recorder.calls, calls);
  EXPECT_EQ(controller.current(), 70);
  EXPECT_EQ(std::make_pair(controller.view_start(), controller.view_end()), view);
  controller.PreviousBadFrame();
  EXPECT_EQ(controller.current(), 40);
  EXPECT_EQ(recorder.last, (std::array<int32_t, 3>{controller.view_start(), controller.view_end(), 40}));

  GraphController without(0, 99, std::nullopt);
  without.NextBadFrame();
  EXPECT_EQ(without.current(), 49);
}

TEST(GraphController, GoingWithoutCentringStaysInTheView) {
  GraphController controller(0, 100, std::nullopt);
  const int32_t start = controller.view_start();
  const int32_t end = controller.view_end();
  controller.GoToFrame(0, false);
  EXPECT_EQ(controller.current(), start);
  controller.GoToFrame(1000, false);
  EXPECT_EQ(controller.current(), end);
  EXPECT_EQ(controller.view_start(), start);
  controller.GoToFrame(-5, true);
  EXPECT_EQ(controller.current(), 0);
  EXPECT_EQ(controller.view_start(), 0);
  EXPECT_EQ(controller.view_end(), end - start);
}

// Whatever the user does, first <= view start <= current <= view end <= last, and the view keeps at least two
// frames where the range has them.
TEST(GraphController, RandomCommandSequencesKeepTheCurrentFrameInTheView) {
  std::mt19937 random(17);
  for (int run = 0; run < 300; ++run) {
    const int32_t first = std::uniform_int_distribution<int32_t>(-50, 50)(random);
    const int32_t last = first + std::uniform_int_distribution<int32_t>(0, 3000)(random);
    std::vector<int32_t> bad;
    for (int i = 0; i < 6; ++i) bad.push_back(std::uniform_int_distribution<int32_t>(first, last)(random));
    GraphController controller(first, last, run % 3 == 0 ? std::nullopt : std::optional(bad));
    std::uniform_int_distribution<int32_t> anywhere(first - 100, last + 100);
    for (int step = 0; step < 200; ++step) {
      switch (std::uniform_int_distribution<int>(0, 9)(random)) {
        case 0: controller.PreviousFrame(); break;
        case 1: controller.NextFrame(); break;
        case 2: controller.Widen(); break;
        case 3: controller.Narrow(); break;
        case 4: controller.Wheel(std::uniform_int_distribution<int>(-2400, 2400)(random)); break;
        case 5: controller.PreviousBadFrame(); break;
        case 6: controller.NextBadFrame(); break;
        case 7: controller.GoToFrame(anywhere(random), true); break;
        case 8: controller.GoToFrame(anywhere(random), false); break;
        default: controller.SetWindowWidth(std::uniform_int_distribution<int32_t>(-10, 4000)(random)); break;
      }
      ASSERT_LE(first, controller.view_start());
      ASSERT_LE(controller.view_start(), controller.current());
      ASSERT_LE(controller.current(), controller.view_end());
      ASSERT_LE(controller.view_end(), last);
      ASSERT_GE(controller.view_end() - controller.view_start(), std::min(2, last - first));
    }
  }
}

TEST(ValueScale, TicksAndDecimalsFollowTheExtremes) {
  ValueTicks ticks = ComputeValueTicks(0, 100);
  EXPECT_DOUBLE_EQ(ticks.step, 15);
  EXPECT_DOUBLE_EQ(ticks.first, 15);
  EXPECT_EQ(LabelDecimals(ticks.step, 0, 100), 3);

  ticks = ComputeValueTicks(37.3, 41.1);
  EXPECT_DOUBLE_EQ(ticks.step, 1);
  EXPECT_DOUBLE_EQ(ticks.first, 38);
  EXPECT_EQ(LabelDecimals(ticks.step, 37.3, 41.1), 1);

  ticks = ComputeValueTicks(0.2, 0.5);
  EXPECT_DOUBLE_EQ(ticks.step, 0.0625);
  EXPECT_DOUBLE_EQ(ticks.first, 0.25);
  EXPECT_EQ(LabelDecimals(ticks.step, 0.2, 0.5), 3);

  // Large values: whole numbers suffice.
  EXPECT_EQ(LabelDecimals(ComputeValueTicks(1500, 9000).step, 1500, 9000), 0);
}

TEST(ValueScale, AtLeastThreeIntervalsFitForAnyExtremes) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> value(-1e4, 1e4);
  for (int i = 0; i < 2000; ++i) {
    double a = value(random) / std::pow(10.0, std::uniform_int_distribution<int>(0, 6)(random));
    const double b = a + std::max(0.1, std::fabs(value(random)) / std::pow(10.0, std::uniform_int_distribution<int>(0, 5)(random)));
    const ValueTicks ticks = ComputeValueTicks(a, b);
    ASSERT_GT(ticks.step, 0);
    ASSERT_GE(std::trunc((b - ticks.first) / ticks.step), 3) << a << " " << b;
    const int decimals = LabelDecimals(ticks.step, a, b);
    ASSERT_GE(decimals, 0);
    ASSERT_LE(decimals, 3);
  }
}

TEST(PlotRange, CommonFramesAndFlatValues) {
  ResultStore store;
  store.AddSeries(1, {});
  store.AddSeries(2, {});
  for (int32_t frame = 3; frame < 20; ++frame) store.AddValue(1, frame, 40.0f);
  for (int32_t frame = 5; frame < 30; ++frame) store.AddValue(2, frame, 40.0f);
  const std::optional<PlotRange> range = ComputePlotRange(store);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->first, 5);
  EXPECT_EQ(range->last, 19);
  EXPECT_FLOAT_EQ(range->values.maximum, 40.0f);
  EXPECT_FLOAT_EQ(range->values.minimum, 39.9f);
  EXPECT_FALSE(ComputePlotRange(ResultStore{}));
}

}  // namespace
}  // namespace vidmetra::plot
