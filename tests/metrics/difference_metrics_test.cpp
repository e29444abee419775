#include <gtest/gtest.h>

#include <cmath>

#include "support/metric_properties.h"
#include "support/plane_frames.h"
#include "support/visualization_target.h"
#include "vidmetra/delta_metric.h"
#include "vidmetra/msad_metric.h"
#include "vidmetra/signed_colouring.h"

namespace vidmetra {
namespace {

using namespace testing;  // the frame and target builders

constexpr Bgr kBlack{0, 0, 0};

struct Measured {
  float value;
  std::unique_ptr<VideoFrame> target;
};

// One measurement with visualization on a fresh metric.
template <typename MetricType>
Measured Visualize(const PlaneFrame& original, const PlaneFrame& processed, int component = 0) {
  MetricType metric({component, original.width(), original.height()});
  Measured measured{0.0f, MakeTarget(original.width(), original.height())};
  PlaneFrame* frames[] = {const_cast<PlaneFrame*>(&original), const_cast<PlaneFrame*>(&processed)};
  measured.value = metric.MeasureAndVisualize(frames, *measured.target).at(0).value;
  return measured;
}

TEST(FirstOrderDifferences, IdenticalFramesAreZeroAndBlack) {
  auto a = MakePlanes(8, 4, [](int x, int y) { return static_cast<float>(x * 30 + y); });
  const auto msad = Visualize<MsadMetric>(*a, *a);
  const auto delta = Visualize<DeltaMetric>(*a, *a);
  EXPECT_EQ(msad.value, 0.0f);
  EXPECT_EQ(delta.value, 0.0f);
  EXPECT_TRUE(AllPixels(*msad.target, kBlack));
  EXPECT_TRUE(AllPixels(*delta.target, kBlack));
}

TEST(FirstOrderDifferences, ProcessedBrighterByTwo) {
  auto a = MakePlanes(6, 4, [](int x, int y) { return static_cast<float>(x + 10 * y); });
  auto b = MakePlanes(6, 4, [](int x, int y) { return static_cast<float>(x + 10 * y + 2); });
  const auto msad = Visualize<MsadMetric>(*a, *b);
  const auto delta = Visualize<DeltaMetric>(*a, *b);
  EXPECT_EQ(msad.value, 2.0f);
  EXPECT_EQ(delta.value, -2.0f);
  EXPECT_TRUE(AllPixels(*msad.target, {20, 20, 20}));
  EXPECT_TRUE(AllPixels(*delta.target, {0, 6, 0}));
}

TEST(FirstOrderDifferences, OppositeHalvesCancelOnlyForDelta) {
  auto a = MakeFlatPlanes(4, 4, 50);
  auto b = MakePlanes(4, 4, [](int x, int) { return x < 2 ? 60.0f : 40.0f; });
  EXPECT_EQ(Visualize<MsadMetric>(*a, *b).value, 10.0f);
  const auto delta = Visualize<DeltaMetric>(*a, *b);
  EXPECT_EQ(delta.value, 0.0f);
  EXPECT_TRUE(SameColour(PixelAt(*delta.target, 0, 0), {0, 30, 0}));  // processed brighter: green
  EXPECT_TRUE(SameColour(PixelAt(*delta.target, 3, 3), {0, 0, 30}));  // processed darker: red
}

TEST(FirstOrderDifferences, ColoursAreLimited) {
  auto a = MakeFlatPlanes(2, 2, 125.6f);
  auto b = MakeFlatPlanes(2, 2, 100.0f);
  EXPECT_TRUE(AllPixels(*Visualize<MsadMetric>(*a, *b).target, {255, 255, 255}));
  EXPECT_TRUE(AllPixels(*Visualize<DeltaMetric>(*a, *b).target, {0, 0, 76}));
  auto c = MakeFlatPlanes(2, 2, 200.0f);
  EXPECT_TRUE(AllPixels(*Visualize<DeltaMetric>(*b, *c).target, {0, 255, 0}));
}

TEST(SignedColouring, TruncatesTowardZero) {
  EXPECT_TRUE(SameColour(SignedDifferenceColour(0.3f), kBlack));
  EXPECT_TRUE(SameColour(SignedDifferenceColour(-0.3f), kBlack));
  EXPECT_TRUE(SameColour(SignedDifferenceColour(1.0f), {0, 0, 3}));
  EXPECT_TRUE(SameColour(SignedDifferenceColour(-85.1f), {0, 255, 0}));
  EXPECT_TRUE(SameColour(SignedDifferenceColour(NAN), kBlack));
  EXPECT_TRUE(SameColour(SignedDifferenceColour(1e30f), {0, 0, 255}));
}

TEST(FirstOrderDifferences, AveragesOfSignedValuesCancel) {
  DeltaMetric delta({kComponentU, 4, 2});
  MsadMetric msad({kComponentU, 4, 2});
  auto a = MakeFlatPlanes(4, 2, 0);
  auto plus = MakeFlatPlanes(4, 2, 5);
  auto minus = MakeFlatPlanes(4, 2, -5);
  for (PlaneFrame* processed : {plus.get(), minus.get()}) {
    PlaneFrame* frames[] = {a.get(), processed};
    delta.Measure(frames);
    msad.Measure(frames);
  }
  EXPECT_EQ(delta.GetAverageResult(false).at(0).value, 0.0f);
  EXPECT_EQ(msad.GetAverageResult(false).at(0).value, 5.0f);
}

TEST(FirstOrderDifferences, MeasuresTheChosenComponent) {
  auto a = MakeFlatPlanes(2, 2, 10);
  auto b = MakeFlatPlanes(2, 2, 10);
  b->L()[0] = 14;
  MsadMetric on_l({kComponentL, 2, 2});
  MsadMetric on_y({kComponentY, 2, 2});
  PlaneFrame* frames[] = {a.get(), b.get()};
  EXPECT_EQ(on_l.Measure(frames).at(0).value, 1.0f);
  EXPECT_EQ(on_y.Measure(frames).at(0).value, 0.0f);
}

TEST(FirstOrderDifferences, Properties) {
  MsadMetric msad({0, 160, 160});
  ExpectProperties(msad, {"msad", "MSAD", false, 2, 2, 2, {0, 1, 2, 4, 5, 6, 3}});
  DeltaMetric delta({0, 160, 160});
  ExpectProperties(delta, {"delta", "Delta", false, 2, 2, 2, {0, 1, 2, 4, 5, 6, 3}});
}

}  // namespace
}  // namespace vidmetra
