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

TEST(SsimKernels, EveryVectorKernelMatchesTheReferenceOnRandomEightBitPlanes) {
  if (SsimVectorKernels().empty()) GTEST_SKIP() << "no vector kernel here";
  std::mt19937 random(21);
  // Widths around whole 16-sample vectors and window runs, odd multiples of 8 included.
  const int sizes[][2] = {{8, 8},   {16, 8},  {8, 24},  {24, 16}, {32, 9 * 8}, {40, 16}, {72, 40},
                          {88, 24}, {120, 8}, {136, 32}, {200, 32}, {248, 16}, {264, 48}};
  for (const auto& size : sizes) {
    for (int range : {1, 16, 255}) {
      std::uniform_int_distribution<int> level(0, range);
      const PlanePair pair = MakePair(size[0], size[1], [&] { return static_cast<float>(level(random)); });
      SsimScratch scratch;
      std::vector<float> scalar_map(pair.a.size(), -1.0f);
      const double reference = SsimSumScalar(pair.planes(), scalar_map.data(), scratch);
      for (const SsimVectorKernel& kernel : SsimVectorKernels()) {
        std::vector<float> vector_map(pair.a.size(), -1.0f);
        double sum = 0.0;
        ASSERT_TRUE(kernel.sum(pair.planes(), vector_map.data(), scratch, sum)) << kernel.name;
        // Window sums are exact integers in every kernel, so every window index is the same float; only the
        // order of the double additions differs.
        EXPECT_EQ(vector_map, scalar_map) << kernel.name << " " << size[0] << "x" << size[1];
        EXPECT_NEAR(sum, reference, 1e-9 * std::abs(reference) + 1e-12) << kernel.name;
        double without_map = 0.0;
        ASSERT_TRUE(kernel.sum(pair.planes(), nullptr, scratch, without_map));
        EXPECT_EQ(without_map, sum) << kernel.name;
      }
      double chosen = 0.0;
      ASSERT_TRUE(SsimSumVector(pair.planes(), nullptr, scratch, chosen));
      SsimScratch fresh;
      double fastest = 0.0;
      SsimVectorKernels().front().sum(pair.planes(), nullptr, fresh, fastest);
      EXPECT_EQ(chosen, fastest);
      EXPECT_EQ(SsimSum(pair.planes(), nullptr, scratch), chosen);
    }
  }
}

TEST(SsimKernels, BandsAddUpToTheWholePicture) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int> level(0, 255);
  const PlanePair pair = MakePair(56, 40, [&] { return static_cast<float>(level(random)); });
  SsimScratch scratch;
  std::vector<SsimVectorKernel> kernels = SsimVectorKernels();
  kernels.push_back({"reference", [](const SsimPlanes& planes, float* map, SsimScratch& rings, double& sum) {
                       sum = SsimSumScalar(planes, map, rings);
                       return true;
                     }});
  for (const SsimVectorKernel& kernel : kernels) {
    std::vector<float> whole_map(pair.a.size(), -1.0f), band_map(pair.a.size(), -1.0f);
    const auto sum = [&](SsimPlanes planes, float* map) {
      double total = 0.0;
      EXPECT_TRUE(kernel.sum(planes, map, scratch, total)) << kernel.name;
      return total;
    };
    const double whole = sum(pair.planes(), whole_map.data());
    for (const int middle : {7, 8, 15, 16, 20, 39, 40}) {
      SsimPlanes upper = pair.planes();
      upper.row_end = middle;
      SsimPlanes lower = pair.planes();
      lower.row_begin = middle;
      const double bands = sum(upper, band_map.data()) + sum(lower, band_map.data());
      EXPECT_NEAR(bands, whole, 1e-9 * std::abs(whole)) << kernel.name << " " << middle;
      EXPECT_EQ(band_map, whole_map) << kernel.name << " " << middle;
    }
  }
}

TEST(SsimKernels, SamplesThatAreNotEightBitIntegersUseTheReference) {
  std::mt19937 random(22);
  std::uniform_real_distribution<float> level(0.0f, 255.0f);
  const PlanePair fractional = MakePair(40, 16, [&] { return level(random); });
  SsimScratch scratch;
  double sum = 0.0;
  for (const SsimVectorKernel& kernel : SsimVectorKernels()) {
    EXPECT_FALSE(kernel.sum(fractional.planes(), nullptr, scratch, sum)) << kernel.name;
  }
  EXPECT_FALSE(SsimSumVector(fractional.planes(), nullptr, scratch, sum));
  EXPECT_EQ(SsimSum(fractional.planes(), nullptr, scratch), SsimSumScalar(fractional.planes(), nullptr, scratch));
  // One bad sample anywhere, also in the half vector that ends a row or in the first rows of a band.
  for (const float outside : {256.0f, -1.0f, 1e10f, 0.5f, 254.75f, -0.25f}) {
    for (const size_t at : {size_t{0}, size_t{100}, size_t{16 * 24 + 23}, size_t{24 * 24 - 1}}) {
      PlanePair pair = MakePair(24, 24, [] { return 7.0f; });
      pair.b[at] = outside;
      for (const SsimVectorKernel& kernel : SsimVectorKernels()) {
        EXPECT_FALSE(kernel.sum(pair.planes(), nullptr, scratch, sum)) << kernel.name << " " << outside << " " << at;
      }
      pair.a[at] = outside;
      pair.b[at] = 7.0f;
      for (const SsimVectorKernel& kernel : SsimVectorKernels()) {
        EXPECT_FALSE(kernel.sum(pair.planes(), nullptr, scratch, sum)) << kernel.name << " " << outside << " " << at;
      }
      EXPECT_EQ(SsimSum(pair.planes(), nullptr, scratch), SsimSumScalar(pair.planes(), nullptr, scratch));
    }
  }
}

// A running column sum of a² passes 2^24 after 259 rows of 255; single-precision sums then lose the low bits and
// identical bright pictures stop scoring 1. Every kernel keeps the sums exact.
TEST(SsimKernels, TallBrightFramesStayExact) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int> bright(200, 255);
  const PlanePair pair = MakePair(1920, 1088, [&] { return static_cast<float>(bright(random)); });
  const double windows = 1913.0 * 1081.0;
  SsimScratch scratch;
  const SsimPlanes same{pair.a.data(), pair.a.data(), 1920, 1088};
  for (const SsimVectorKernel& kernel : SsimVectorKernels()) {
    std::vector<float> map(pair.a.size(), -1.0f);
    double sum = 0.0;
    ASSERT_TRUE(kernel.sum(same, map.data(), scratch, sum)) << kernel.name;
    EXPECT_EQ(sum, windows) << kernel.name;
    for (int row = 7; row < 1088; ++row) {
      for (int x = 0; x < 1920; ++x) {
        ASSERT_EQ(map[static_cast<size_t>(row) * 1920 + x], 0.0f) << kernel.name << " " << x << "," << row;
      }
    }
    // Different pictures: no window above 1, i.e. no negative map value.
    ASSERT_TRUE(kernel.sum(pair.planes(), map.data(), scratch, sum));
    for (size_t i = 7 * 1920; i < map.size(); ++i) ASSERT_GE(map[i], 0.0f) << kernel.name << " " << i;
  }
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
