// The squared-error kernel of every tier against the reference on random runs at random starts: the same double
// for 8-bit samples, the same up to the order of the additions for any others.
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/squared_error.h"

namespace vidmetra {
namespace {

class SquaredErrorCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitSquaredErrorKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }
};

TEST_P(SquaredErrorCheck, MatchesReferenceOnRandomRuns) {
  std::vector<size_t> counts = {0, 1, 7, 8, 9, 15, 16, 17, 63, 1000, 4097};
  for (int n = 0; n < 20; ++n) counts.push_back(random_() % 5000);
  for (const size_t count : counts) {
    const size_t offset_a = testing::RandomOffset(random_, 7), offset_b = testing::RandomOffset(random_, 7);
    std::vector<float> a(offset_a + count), b(offset_b + count), c(offset_a + count), d(offset_b + count);
    for (size_t i = 0; i < count; ++i) {
      a[offset_a + i] = testing::RandomByte(random_);
      b[offset_b + i] = testing::RandomByte(random_);
      c[offset_a + i] = static_cast<float>(random_() % 10000) / 97.0f;
      d[offset_b + i] = static_cast<float>(random_() % 10000) / 89.0f;
    }
    // 8-bit samples: every partial sum is an exact integer, so any order gives the same double.
    EXPECT_EQ(SumSquaredError(a.data() + offset_a, b.data() + offset_b, count),
              SumSquaredErrorScalar(a.data() + offset_a, b.data() + offset_b, count))
        << count;
    const double reference = SumSquaredErrorScalar(c.data() + offset_a, d.data() + offset_b, count);
    EXPECT_NEAR(SumSquaredError(c.data() + offset_a, d.data() + offset_b, count), reference, 1e-12 * (reference + 1))
        << count;
  }
}

// Infinities and NaN give what the reference gives.
TEST_P(SquaredErrorCheck, NonFiniteSamplesGiveWhatTheReferenceGives) {
  const float specials[] = {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::max()};
  for (const float special : specials) {
    for (const size_t count : {size_t{5}, size_t{8}, size_t{33}}) {
      std::vector<float> a(count), b(count);
      for (size_t i = 0; i < count; ++i) {
        a[i] = testing::RandomByte(random_);
        b[i] = testing::RandomByte(random_);
      }
      a[random_() % count] = special;
      const double reference = SumSquaredErrorScalar(a.data(), b.data(), count);
      const double vector = SumSquaredError(a.data(), b.data(), count);
      if (std::isnan(reference)) {
        EXPECT_TRUE(std::isnan(vector)) << special << " " << count;
      } else {
        EXPECT_EQ(vector, reference) << special << " " << count;
      }
    }
  }
}

VIDMETRA_TIER_CHECK(SquaredErrorCheck);

}  // namespace
}  // namespace vidmetra
