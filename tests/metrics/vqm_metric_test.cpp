#include "vidmetra/vqm_metric.h"

#include "vidmetra/fdct.h"
#include "vidmetra/vqm_lanes.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <random>

#include "support/metric_properties.h"
#include "support/cpu_tiers.h"
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

// Exposes the difference map so that whole maps can be compared float for float.
class MapProbe : public VqmMetric {
 public:
  using VqmMetric::VqmMetric;
  const float* map() { return difference_map(); }
};

uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }

// Per frame the value of Measure, of MeasureAndVisualize and the map, then both averages.
std::vector<uint32_t> MeasureSequence(int width, int height, const std::function<float(int, int)>& sample,
                                      int frames) {
  MapProbe metric({kComponentY, width, height});
  auto target = MakeTarget(width, height);
  std::vector<uint32_t> results;
  for (int n = 0; n < frames; ++n) {
    auto a = MakePlanes(width, height, sample);
    auto b = MakePlanes(width, height, sample);
    PlaneFrame* pair[] = {a.get(), b.get()};
    results.push_back(Bits(metric.Measure(pair).at(0).value));
    results.push_back(Bits(metric.MeasureAndVisualize(pair, *target).at(0).value));
    for (int i = 0; i < width * height; ++i) results.push_back(Bits(metric.map()[i]));
  }
  results.push_back(Bits(metric.GetAverageResult(false).at(0).value));
  results.push_back(Bits(metric.GetAverageResult(true).at(0).value));
  return results;
}

// The metric takes its kernels from the CPU flags when it is made; every tier must give the scalar results.
TEST(Vqm, EveryTierGivesTheReferenceResultsBitForBit) {
  // 9 and 17 blocks across leave a part-filled group of lanes at the right edge.
  const int sizes[][2] = {{72, 40}, {136, 24}, {256, 32}};
  for (const auto& size : sizes) {
    std::mt19937 random(static_cast<unsigned>(size[0]));
    const auto eight_bit = [&](int, int) { return static_cast<float>(random() % 256); };
    const std::mt19937 start = random;
    std::vector<uint32_t> expected;
    {
      const testing::ScopedCpuMask scalar(0);
      expected = MeasureSequence(size[0], size[1], eight_bit, 3);
    }
    for (const CpuTier& tier : UsableCpuTiers()) {
      const testing::ScopedCpuMask mask(tier.mask);
      random = start;
      EXPECT_EQ(MeasureSequence(size[0], size[1], eight_bit, 3), expected)
          << tier.name << " " << size[0] << "x" << size[1];
    }
  }
}

// Pools the block-by-block reference steps in block order: what the metric computes, one block at a time.
float BlockByBlockVqm(const PlaneFrame& a, const PlaneFrame& b) {
  const int width = a.width();
  float mean_sum = 0.0f;
  float largest = 0.0f;
  for (int by = 0; by < a.height() / 8; ++by) {
    for (int bx = 0; bx < width / 8; ++bx) {
      std::array<std::array<int16_t, 64>, 2> blocks;
      const PlaneFrame* frames[] = {&a, &b};
      for (int n = 0; n < 2; ++n) {
        for (int i = 0; i < 64; ++i) {
          const float* plane = frames[n]->ComponentPlane(kComponentY);
          blocks[n][i] = VqmCaptureSample(plane[(8 * by + i / 8) * width + 8 * bx + i % 8]);
        }
        ForwardDct8x8(blocks[n].data());
      }
      const VqmBlockStatistics block = VqmCompareBlock(blocks[0].data(), blocks[1].data());
      mean_sum += block.mean;
      if (!(block.maximum < largest)) largest = block.maximum;
    }
  }
  const double samples = static_cast<double>(width) * a.height();
  return static_cast<float>(10.0 * (64000.0 * mean_sum / samples + 5.0 * largest));
}

TEST(Vqm, MatchesBlockByBlockEvaluation) {
  std::mt19937 random(9);
  // 8-bit pictures, 10-bit ones, and any float at all, out-of-range ones and NaN included.
  const std::function<float(int, int)> samples[] = {
      [&](int, int) { return static_cast<float>(random() % 256); },
      [&](int, int) { return static_cast<float>(random() % 1024); },
      [&](int, int) {
        const float specials[] = {std::nanf(""), 1e30f, -1e30f, 32767.5f, -32768.5f, -3.0f};
        return random() % 8 == 0 ? specials[random() % 6] : static_cast<float>(random() % 70000) - 35000.0f;
      }};
  for (const auto& sample : samples) {
    auto a = MakePlanes(88, 24, sample);
    auto b = MakePlanes(88, 24, sample);
    PlaneFrame* pair[] = {a.get(), b.get()};
    for (const CpuTier& tier : UsableCpuTiers()) {
      const testing::ScopedCpuMask mask(tier.mask);
      VqmMetric metric({kComponentY, 88, 24});
      EXPECT_EQ(Bits(metric.Measure(pair).at(0).value), Bits(BlockByBlockVqm(*a, *b))) << tier.name;
    }
  }
}

}  // namespace
}  // namespace vidmetra
