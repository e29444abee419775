#include "vidmetra/ssim_kernels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vidmetra {
namespace {

struct PlanePair {
  int width, height;
  std::vector<float> a, b;
  SsimPlanes planes() const { return {a.data(), b.data(), width, height}; }
};

template <typename Level>
PlanePair MakePair(int width, int height, Level&& level) {
  PlanePair pair{width, height, std::vector<float>(static_cast<size_t>(width) * height),
                 std::vector<float>(static_cast<size_t>(width) * height)};
  for (size_t i = 0; i < pair.a.size(); ++i) {
    pair.a[i] = level();
    pair.b[i] = level();
  }
  return pair;
}

TEST(SsimKernels, VectorMatchesScalarOnRandomEightBitPlanes) {
  std::mt19937 random(21);
  const int sizes[][2] = {{8, 8}, {16, 8}, {8, 24}, {24, 16}, {72, 40}, {200, 32}};
  for (const auto& size : sizes) {
    for (int range : {1, 16, 255}) {
      std::uniform_int_distribution<int> level(0, range);
      const PlanePair pair = MakePair(size[0], size[1], [&] { return static_cast<float>(level(random)); });
      SsimScratch scratch;
      std::vector<float> scalar_map(pair.a.size(), -1.0f), vector_map(pair.a.size(), -1.0f);
      const double reference = SsimSumScalar(pair.planes(), scalar_map.data(), scratch);
      double sum = 0.0;
      if (!SsimSumVector(pair.planes(), vector_map.data(), scratch, sum)) GTEST_SKIP() << "no vector kernel here";
      // Window sums are exact integers in both, so every window index is the same float; only the order of the
      // double additions differs.
      EXPECT_EQ(vector_map, scalar_map) << size[0] << "x" << size[1];
      EXPECT_NEAR(sum, reference, 1e-9 * std::abs(reference) + 1e-12);
      EXPECT_EQ(SsimSum(pair.planes(), nullptr, scratch), sum);
    }
  }
}

TEST(SsimKernels, BandsAddUpToTheWholePicture) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int> level(0, 255);
  const PlanePair pair = MakePair(48, 40, [&] { return static_cast<float>(level(random)); });
  SsimScratch scratch;
  std::vector<float> whole_map(pair.a.size(), -1.0f), band_map(pair.a.size(), -1.0f);
  for (const bool vector : {false, true}) {
    const auto sum = [&](SsimPlanes planes, float* map) {
      double total = 0.0;
      if (!vector) return SsimSumScalar(planes, map, scratch);
      if (!SsimSumVector(planes, map, scratch, total)) return SsimSumScalar(planes, map, scratch);
      return total;
    };
    const double whole = sum(pair.planes(), whole_map.data());
    for (const int middle : {7, 8, 15, 20, 39, 40}) {
      SsimPlanes upper = pair.planes();
      upper.row_end = middle;
      SsimPlanes lower = pair.planes();
      lower.row_begin = middle;
      const double bands = sum(upper, band_map.data()) + sum(lower, band_map.data());
      EXPECT_NEAR(bands, whole, 1e-9 * std::abs(whole)) << middle;
      EXPECT_EQ(band_map, whole_map) << middle;
    }
  }
}

TEST(SsimKernels, SamplesThatAreNotEightBitIntegersUseTheReference) {
  std::mt19937 random(22);
  std::uniform_real_distribution<float> level(0.0f, 255.0f);
  const PlanePair fractional = MakePair(32, 16, [&] { return level(random); });
  SsimScratch scratch;
  double sum = 0.0;
  EXPECT_FALSE(SsimSumVector(fractional.planes(), nullptr, scratch, sum));
  EXPECT_EQ(SsimSum(fractional.planes(), nullptr, scratch), SsimSumScalar(fractional.planes(), nullptr, scratch));
  for (const float outside : {256.0f, -1.0f, 1e10f}) {
    PlanePair pair = MakePair(16, 16, [] { return 7.0f; });
    pair.b[100] = outside;
    EXPECT_FALSE(SsimSumVector(pair.planes(), nullptr, scratch, sum)) << outside;
    EXPECT_EQ(SsimSum(pair.planes(), nullptr, scratch), SsimSumScalar(pair.planes(), nullptr, scratch));
  }
}

// A running column sum of a² passes 2^24 after 259 rows of 255; single-precision sums then lose the low bits and
// identical bright pictures stop scoring 1. Both kernels keep the sums exact.
TEST(SsimKernels, TallBrightFramesStayExact) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int> bright(200, 255);
  const PlanePair pair = MakePair(1920, 1088, [&] { return static_cast<float>(bright(random)); });
  const double windows = 1913.0 * 1081.0;
  SsimScratch scratch;
  std::vector<float> map(pair.a.size(), -1.0f);
  const SsimPlanes same{pair.a.data(), pair.a.data(), 1920, 1088};
  EXPECT_EQ(SsimSum(same, map.data(), scratch), windows);
  for (int row = 7; row < 1088; ++row) {
    for (int x = 0; x < 1920; ++x) ASSERT_EQ(map[static_cast<size_t>(row) * 1920 + x], 0.0f) << x << "," << row;
  }
  // Different pictures: no window above 1, i.e. no negative map value.
  SsimSum(pair.planes(), map.data(), scratch);
  for (size_t i = 7 * 1920; i < map.size(); ++i) ASSERT_GE(map[i], 0.0f) << i;
}

TEST(SsimKernels, TallBrightFramesStayExactInTheReference) {
  const PlanePair pair = MakePair(64, 1088, [] { return 255.0f; });
  SsimScratch scratch;
  const SsimPlanes same{pair.a.data(), pair.a.data(), 64, 1088};
  EXPECT_EQ(SsimSumScalar(same, nullptr, scratch), 57.0 * 1081.0);
  std::mt19937 random(24);
  std::uniform_int_distribution<int> bright(230, 255);
  const PlanePair noisy = MakePair(64, 1088, [&] { return static_cast<float>(bright(random)); });
  std::vector<float> map(noisy.a.size(), 0.0f);
  const SsimPlanes noisy_same{noisy.a.data(), noisy.a.data(), 64, 1088};
  EXPECT_EQ(SsimSumScalar(noisy_same, map.data(), scratch), 57.0 * 1081.0);
  SsimSumScalar(noisy.planes(), map.data(), scratch);
  for (const float value : map) ASSERT_GE(value, 0.0f);
}

}  // namespace
}  // namespace vidmetra
