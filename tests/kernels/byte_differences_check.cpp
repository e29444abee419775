// The integer difference sums of every tier against their scalar references, and both against the float
// references on the widened samples, which are what the metrics reported before bytes were kept.
#include <cmath>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/byte_differences.h"
#include "vidmetra/difference_sum.h"
#include "vidmetra/squared_error.h"

namespace vidmetra {
namespace {

class ByteDifferencesCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitByteDifferenceKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }
};

TEST_P(ByteDifferencesCheck, SumsMatchTheReferencesAndTheFloatSums) {
  const ByteDifferenceKernels& kernels = ActiveByteDifferenceKernels();
  std::vector<size_t> counts = {0, 1, 15, 16, 17, 31, 32, 33, 64, 4095, 16 * 4096 + 5, 32 * 4096 + 40};
  for (int n = 0; n < 30; ++n) counts.push_back(random_() % 300000);
  for (const size_t count : counts) {
    const size_t offset = testing::RandomOffset(random_, 31);
    std::vector<uint8_t> a_bytes = RandomBytes(offset + count);
    std::vector<uint8_t> b_bytes = RandomBytes(count);
    // Extremes too: every difference 255, the largest square each lane can gain.
    if (count % 3 == 0) std::fill(b_bytes.begin(), b_bytes.end(), uint8_t{0});
    if (count % 3 == 0) std::fill(a_bytes.begin(), a_bytes.end(), uint8_t{255});
    const uint8_t* a = a_bytes.data() + offset;
    const uint8_t* b = b_bytes.data();
    const std::vector<float> a_floats(a, a + count), b_floats(b, b + count);
    SCOPED_TRACE(::testing::Message() << "count " << count << " offset " << offset);

    const uint64_t squared = kernels.squared(a, b, count);
    EXPECT_EQ(squared, SumSquaredByteDifferencesScalar(a, b, count));
    EXPECT_EQ(static_cast<double>(squared), SumSquaredErrorScalar(a_floats.data(), b_floats.data(), count));

    const uint64_t absolute = kernels.absolute(a, b, count);
    EXPECT_EQ(absolute, SumAbsoluteByteDifferencesScalar(a, b, count));
    EXPECT_EQ(static_cast<double>(absolute),
              SumDifferences(a_floats.data(), b_floats.data(), count, nullptr, [](float d) { return std::fabs(d); }));

    const int64_t signed_sum = kernels.signed_(a, b, count);
    EXPECT_EQ(signed_sum, SumSignedByteDifferencesScalar(a, b, count));
    EXPECT_EQ(static_cast<double>(signed_sum),
              SumDifferences(a_floats.data(), b_floats.data(), count, nullptr, [](float d) { return d; }));
  }
}

VIDMETRA_TIER_CHECK(ByteDifferencesCheck);

}  // namespace
}  // namespace vidmetra
