// The exact sum of SSIM window indices: the same value whatever the order of the additions and however the
// indices are split into partial sums, and within rounding of the exact sum.
#include "vidmetra/ssim_index_sum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace vidmetra {
namespace {

// Indices of every size an index can have, the tiny and subnormal ones included, of both signs.
std::vector<float> RandomSsimIndices(std::mt19937& random, size_t count) {
  std::uniform_real_distribution<float> mantissa(0.5f, 1.0f);
  std::uniform_int_distribution<int> exponent(-150, 1);
  std::vector<float> indices(count);
  for (float& index : indices) {
    const float magnitude = random() % 2 == 0 ? mantissa(random) : std::ldexp(mantissa(random), exponent(random));
    index = random() % 3 == 0 ? -magnitude : magnitude;
  }
  return indices;
}

SsimIndexSum IndexSumOf(const std::vector<float>& indices, size_t begin, size_t end) {
  SsimIndexSum sum;
  for (size_t i = begin; i < end; ++i) sum.Add(indices[i]);
  return sum;
}

TEST(SsimIndexSum, DoesNotDependOnOrderOrSplit) {
  std::mt19937 random(31);
  for (int round = 0; round < 20; ++round) {
    std::vector<float> indices = RandomSsimIndices(random, 5000);
    const double whole = IndexSumOf(indices, 0, indices.size()).Value();
    std::shuffle(indices.begin(), indices.end(), random);
    const size_t split = random() % indices.size();
    SsimIndexSum parts = IndexSumOf(indices, split, indices.size());
    parts.Add(IndexSumOf(indices, 0, split));
    EXPECT_EQ(std::bit_cast<uint64_t>(parts.Value()), std::bit_cast<uint64_t>(whole)) << round;
    EXPECT_EQ(std::bit_cast<uint64_t>(IndexSumOf(indices, 0, indices.size()).Value()), std::bit_cast<uint64_t>(whole));
  }
}

// Against long double, eleven bits wider than double, summed from the smallest magnitude up: its error stays
// well below the rounding of a double.
TEST(SsimIndexSum, MatchesAnExactSumWithinRounding) {
  std::mt19937 random(32);
  std::uniform_real_distribution<float> level(-1.0f, 1.0f);
  for (int round = 0; round < 20; ++round) {
    std::vector<float> indices(20000);
    for (float& index : indices) index = std::ldexp(level(random), -static_cast<int>(random() % 20));
    std::vector<float> ascending = indices;
    std::sort(ascending.begin(), ascending.end(), [](float a, float b) { return std::fabs(a) < std::fabs(b); });
    long double exact = 0.0L;
    for (const float index : ascending) exact += index;
    const double value = IndexSumOf(indices, 0, indices.size()).Value();
    EXPECT_NEAR(value, static_cast<double>(exact), 4 * std::numeric_limits<double>::epsilon() * std::fabs(value));
  }
}

TEST(SsimIndexSum, KeepsTinyIndicesWhole) {
  SsimIndexSum sum;
  const float smallest = std::numeric_limits<float>::denorm_min();
  for (int i = 0; i < 1000; ++i) sum.Add(smallest);
  sum.Add(1.0f);
  sum.Add(-1.0f);
  EXPECT_EQ(sum.Value(), 1000.0 * static_cast<double>(smallest));
  SsimIndexSum cancelling;
  for (const float index : {0x1.234568p-20f, 0x1.fffffep-14f, 0x1p-13f, 0x1.8p-90f, 0.75f}) {
    cancelling.Add(index);
    cancelling.Add(-index);
  }
  EXPECT_EQ(cancelling.Value(), 0.0);
}

// The fine units a vectorised kernel adds at once count as the indices they came from.
TEST(SsimIndexSum, FineUnitsAreIndicesScaled) {
  SsimIndexSum one_by_one;
  SsimIndexSum in_units;
  for (const float index : {0.5f, -0.25f, 0x1p-13f, 0.999999940f}) {
    one_by_one.Add(index);
    in_units.AddFine(static_cast<int64_t>(index * SsimIndexSum::kFineScale));
  }
  EXPECT_EQ(in_units.Value(), one_by_one.Value());
}

TEST(SsimIndexSum, AbsurdIndicesStillShow) {
  SsimIndexSum sum;
  sum.Add(0.5f);
  sum.Add(std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(std::isnan(sum.Value()));
  SsimIndexSum large;
  large.Add(1e30f);
  large.Add(0.5f);
  EXPECT_EQ(large.Value(), 1e30f + 0.5);
}

}  // namespace
}  // namespace vidmetra
