#include "vidmetra/vqm_metric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/metric_properties.h"
#include "support/plane_frames.h"
#include "support/visualization_target.h"

namespace vidmetra {
namespace {

using namespace testing;  // the frame and target builders

// The weighted DC coefficient of a flat block: (DC/1024)^0.65, divided by the weight 8.
double WeightedFlatDc(double level) { return std::pow(level * 8 / 1024, 0.6499999761581421) / 8; }

struct Visualized {
  float value;
  std::unique_ptr<VideoFrame> target;
};

Visualized Visualize(const PlaneFrame& a, const PlaneFrame& b) {
  VqmMetric metric({kComponentY, a.width(), a.height()});
  Visualized result{0.0f, MakeTarget(a.width(), a.height())};
  PlaneFrame* frames[] = {const_cast<PlaneFrame*>(&a), const_cast<PlaneFrame*>(&b)};
  result.value = metric.MeasureAndVisualize(frames, *result.target).at(0).value;
  return result;
}

TEST(Vqm, IdenticalFramesScoreZero) {
  std::mt19937 random(4);
  auto a = MakePlanes(24, 16, [&](int, int) { return static_cast<float>(random() % 256); });
  const Visualized same = Visualize(*a, *a);
  EXPECT_EQ(same.value, 0.0f);
  EXPECT_TRUE(AllPixels(*same.target, {0, 0, 0}));
}

TEST(Vqm, FlatBlocksDifferInTheirContrastScaledDc) {
  auto a = MakeFlatPlanes(8, 8, 128);
  auto b = MakeFlatPlanes(8, 8, 136);
  const double difference = WeightedFlatDc(136) - WeightedFlatDc(128);
  EXPECT_NEAR(difference, 0.00502, 1e-5);
  const Visualized flat = Visualize(*a, *b);
  // One block: the mean of the block means is the block mean, d(0, 0) / 64; the maximum is d(0, 0).
  EXPECT_NEAR(flat.value, 10 * (1000 * difference / 64 + 5 * difference), 1e-5);
  EXPECT_NEAR(256000 * difference / 64, 20.1, 0.05);
  EXPECT_TRUE(AllPixels(*flat.target, {20, 20, 20}));
}

TEST(Vqm, BlackBlockContributesNothingOfItsOwn) {
  auto black = MakeFlatPlanes(8, 8, 0);
  auto b = MakeFlatPlanes(8, 8, 136);
  const double d = WeightedFlatDc(136);
  EXPECT_NEAR(Visualize(*black, *b).value, 10 * (1000 * d / 64 + 5 * d), 1e-5);
}

TEST(Vqm, PoolsBlockMeansAndTheLargestMaximum) {
  // Two blocks side by side; only the right one differs, so the mean of block means halves and the map marks
  // only that block.
  auto a = MakeFlatPlanes(16, 8, 128);
  auto b = MakePlanes(16, 8, [](int x, int) { return x < 8 ? 128.0f : 136.0f; });
  const double difference = WeightedFlatDc(136) - WeightedFlatDc(128);
  const Visualized half = Visualize(*a, *b);
  EXPECT_NEAR(half.value, 10 * (1000 * difference / 128 + 5 * difference), 1e-5);
  EXPECT_EQ(PixelAt(*half.target, 3, 4).g, 0);
  EXPECT_EQ(PixelAt(*half.target, 12, 4).g, 20);
}

TEST(Vqm, SymmetricInItsInputs) {
  std::mt19937 random(5);
  auto a = MakePlanes(32, 16, [&](int, int) { return static_cast<float>(random() % 256); });
  auto b = MakePlanes(32, 16, [&](int x, int y) { return std::min(255.0f, a->Y()[y * 32 + x] + static_cast<float>((x + y) % 9)); });
  VqmMetric metric({kComponentY, 32, 16});
  PlaneFrame* forward[] = {a.get(), b.get()};
  PlaneFrame* backward[] = {b.get(), a.get()};
  const float value = metric.Measure(forward).at(0).value;
  EXPECT_GT(value, 0.0f);
  EXPECT_EQ(metric.Measure(backward).at(0).value, value);
}

TEST(Vqm, WeightTable) {
  EXPECT_EQ(VqmMetric::Weight(0, 0), 8);
  EXPECT_EQ(VqmMetric::Weight(1, 3), 21);
  EXPECT_EQ(VqmMetric::Weight(3, 1), 22);
  EXPECT_EQ(VqmMetric::Weight(2, 5), 31);
  EXPECT_EQ(VqmMetric::Weight(5, 2), 29);
  EXPECT_EQ(VqmMetric::Weight(7, 7), 83);
}

TEST(Vqm, Properties) {
  VqmMetric metric({0, 160, 160});
  ExpectProperties(metric, {"vqm", "VQM", false, 2, 2, 8, {0}});
}

}  // namespace
}  // namespace vidmetra
