// The SSIM kernels of every tier against the reference, and the properties every kernel keeps: bands add up to
// the whole picture, samples that are not 8-bit integers fall back to the reference, tall bright pictures stay
// exact.
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/ssim_kernels.h"

namespace vidmetra {
namespace {

// Two planes starting `offset` samples into their storage.
struct PlanePair {
  int width, height;
  size_t offset;
  std::vector<float> a, b;
  float* A() { return a.data() + offset; }
  float* B() { return b.data() + offset; }
  SsimPlanes planes() const { return {a.data() + offset, b.data() + offset, width, height}; }
  size_t samples() const { return static_cast<size_t>(width) * height; }
};

template <typename Level>
PlanePair MakePair(int width, int height, Level&& level, size_t offset = 0) {
  const size_t samples = static_cast<size_t>(width) * height;
  PlanePair pair{width, height, offset, std::vector<float>(offset + samples), std::vector<float>(offset + samples)};
  for (size_t i = 0; i < samples; ++i) {
    pair.A()[i] = level();
    pair.B()[i] = level();
  }
  return pair;
}

using SsimSumFunction = bool (*)(const SsimPlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);

bool Reference(const SsimPlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum) {
  SsimSumScalar(planes, map, scratch, sum);
  return true;
}

double ScalarSum(const SsimPlanes& planes, float* map, SsimScratch& scratch) {
  SsimIndexSum sum;
  SsimSumScalar(planes, map, scratch, sum);
  return sum.Value();
}

// Bands must give the whole picture's map and its sum, to the last bit.
void ExpectBandsAddUp(SsimSumFunction kernel, std::mt19937& random) {
  std::uniform_int_distribution<int> level(0, 255);
  const PlanePair pair = MakePair(56, 40, [&] { return static_cast<float>(level(random)); });
  SsimScratch scratch;
  std::vector<float> whole_map(pair.samples(), -1.0f), band_map(pair.samples(), -1.0f);
  const auto sum = [&](SsimPlanes planes, float* map, SsimIndexSum& total) {
    EXPECT_TRUE(kernel(planes, map, scratch, total));
  };
  SsimIndexSum whole;
  sum(pair.planes(), whole_map.data(), whole);
  for (const int middle : {7, 8, 15, 16, 20, 39, 40}) {
    SsimPlanes upper = pair.planes();
    upper.row_end = middle;
    SsimPlanes lower = pair.planes();
    lower.row_begin = middle;
    SsimIndexSum bands;
    sum(lower, band_map.data(), bands);
    sum(upper, band_map.data(), bands);
    EXPECT_EQ(bands.Value(), whole.Value()) << middle;
    EXPECT_EQ(band_map, whole_map) << middle;
  }
}

class SsimCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitSsimKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }
  SsimSumFunction kernel() const { return ActiveSsimKernels().sum; }
};

TEST_P(SsimCheck, MatchesTheReferenceOnRandomEightBitPlanes) {
  // Widths around whole 16-sample vectors and window runs, odd multiples of 8 included, and random ones.
  std::vector<std::array<int, 2>> sizes = {{8, 8},    {16, 8},   {8, 24},   {24, 16},  {32, 9 * 8},
                                           {40, 16},  {72, 40},  {88, 24},  {120, 8},  {136, 32},
                                           {200, 32}, {248, 16}, {264, 48}};
  for (int n = 0; n < 6; ++n) {
    sizes.push_back({8 * (1 + static_cast<int>(random_() % 60)), 8 * (1 + static_cast<int>(random_() % 12))});
  }
  for (const auto& size : sizes) {
    for (int range : {1, 16, 255, -1}) {
      std::uniform_int_distribution<int> level(0, range < 0 ? 255 : range);
      // Range -1: the extremes 0 and 255 only.
      const auto sample = [&] { return static_cast<float>(range < 0 ? 255 * (random_() % 2) : level(random_)); };
      const PlanePair pair = MakePair(size[0], size[1], sample, testing::RandomOffset(random_, 7));
      SsimScratch scratch;
      std::vector<float> scalar_map(pair.samples(), -1.0f);
      const double reference = ScalarSum(pair.planes(), scalar_map.data(), scratch);
      std::vector<float> vector_map(pair.samples(), -1.0f);
      SsimIndexSum sum;
      ASSERT_TRUE(kernel()(pair.planes(), vector_map.data(), scratch, sum));
      // Window sums are exact integers in every kernel, so every window index is the same float, and the
      // index sums are exact.
      EXPECT_EQ(vector_map, scalar_map) << size[0] << "x" << size[1] << " range " << range;
      EXPECT_EQ(sum.Value(), reference) << size[0] << "x" << size[1] << " range " << range;
      SsimIndexSum without_map;
      ASSERT_TRUE(kernel()(pair.planes(), nullptr, scratch, without_map));
      EXPECT_EQ(without_map.Value(), reference);
      EXPECT_EQ(SsimSum(pair.planes(), nullptr, scratch).Value(), reference);
      // The same samples kept as bytes: the same windows, in the tier's kernel and in the reference.
      const std::vector<uint8_t> a_bytes(pair.a.begin(), pair.a.end()), b_bytes(pair.b.begin(), pair.b.end());
      const SsimBytePlanes bytes{a_bytes.data() + pair.offset, b_bytes.data() + pair.offset, pair.width, pair.height};
      std::vector<float> byte_map(pair.samples(), -1.0f);
      SsimIndexSum byte_sum, scalar_byte_sum;
      ASSERT_TRUE(ActiveSsimKernels().sum_bytes(bytes, byte_map.data(), scratch, byte_sum));
      EXPECT_EQ(byte_map, scalar_map);
      EXPECT_EQ(byte_sum.Value(), reference);
      SsimSumScalar(bytes, nullptr, scratch, scalar_byte_sum);
      EXPECT_EQ(scalar_byte_sum.Value(), reference);
    }
  }
}

TEST_P(SsimCheck, BandsAddUpToTheWholePicture) { ExpectBandsAddUp(kernel(), random_); }

TEST(SsimReference, BandsAddUpToTheWholePicture) {
  std::mt19937 random(23);
  ExpectBandsAddUp(Reference, random);
}

TEST_P(SsimCheck, SamplesThatAreNotEightBitIntegersUseTheReference) {
  std::uniform_real_distribution<float> level(0.0f, 255.0f);
  const PlanePair fractional = MakePair(40, 16, [&] { return level(random_); });
  SsimScratch scratch;
  SsimIndexSum sum;
  EXPECT_FALSE(kernel()(fractional.planes(), nullptr, scratch, sum));
  EXPECT_EQ(sum.Value(), 0.0);  // nothing added
  EXPECT_EQ(SsimSum(fractional.planes(), nullptr, scratch).Value(), ScalarSum(fractional.planes(), nullptr, scratch));
  // One bad sample anywhere, also in the half vector that ends a row or in the first rows of a band.
  for (const float outside : {256.0f, -1.0f, 1e10f, 0.5f, 254.75f, -0.25f}) {
    for (const size_t at : {size_t{0}, size_t{100}, size_t{16 * 24 + 23}, size_t{24 * 24 - 1}}) {
      PlanePair pair = MakePair(24, 24, [] { return 7.0f; });
      pair.B()[at] = outside;
      EXPECT_FALSE(kernel()(pair.planes(), nullptr, scratch, sum)) << outside << " " << at;
      pair.A()[at] = outside;
      pair.B()[at] = 7.0f;
      EXPECT_FALSE(kernel()(pair.planes(), nullptr, scratch, sum)) << outside << " " << at;
      EXPECT_EQ(SsimSum(pair.planes(), nullptr, scratch).Value(), ScalarSum(pair.planes(), nullptr, scratch));
    }
  }
}

// A running column sum of a² passes 2^24 after 259 rows of 255; single-precision sums then lose the low bits and
// identical bright pictures stop scoring 1. Every kernel keeps the sums exact.
TEST_P(SsimCheck, TallBrightFramesStayExact) {
  std::uniform_int_distribution<int> bright(200, 255);
  const PlanePair pair = MakePair(1920, 1088, [&] { return static_cast<float>(bright(random_)); });
  const double windows = 1913.0 * 1081.0;
  SsimScratch scratch;
  const SsimPlanes same{pair.a.data(), pair.a.data(), 1920, 1088};
  std::vector<float> map(pair.samples(), -1.0f);
  SsimIndexSum sum;
  ASSERT_TRUE(kernel()(same, map.data(), scratch, sum));
  EXPECT_EQ(sum.Value(), windows);
  for (int row = 7; row < 1088; ++row) {
    for (int x = 0; x < 1920; ++x) ASSERT_EQ(map[static_cast<size_t>(row) * 1920 + x], 0.0f) << x << "," << row;
  }
  // Different pictures: no window above 1, i.e. no negative map value.
  ASSERT_TRUE(kernel()(pair.planes(), map.data(), scratch, sum));
  for (size_t i = 7 * 1920; i < map.size(); ++i) ASSERT_GE(map[i], 0.0f) << i;
}

TEST(SsimReference, TallBrightFramesStayExact) {
  const PlanePair pair = MakePair(64, 1088, [] { return 255.0f; });
  SsimScratch scratch;
  const SsimPlanes same{pair.a.data(), pair.a.data(), 64, 1088};
  EXPECT_EQ(ScalarSum(same, nullptr, scratch), 57.0 * 1081.0);
  std::mt19937 random(24);
  std::uniform_int_distribution<int> bright(230, 255);
  const PlanePair noisy = MakePair(64, 1088, [&] { return static_cast<float>(bright(random)); });
  std::vector<float> map(noisy.samples(), 0.0f);
  const SsimPlanes noisy_same{noisy.a.data(), noisy.a.data(), 64, 1088};
  EXPECT_EQ(ScalarSum(noisy_same, map.data(), scratch), 57.0 * 1081.0);
  ScalarSum(noisy.planes(), map.data(), scratch);
  for (const float value : map) ASSERT_GE(value, 0.0f);
}

VIDMETRA_TIER_CHECK(SsimCheck);

}  // namespace
}  // namespace vidmetra
