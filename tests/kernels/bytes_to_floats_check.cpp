// The widening of every tier against the reference: random runs of every length around the vector steps, at
// every start, with guards after the end.
#include <random>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/bytes_to_floats.h"

namespace vidmetra {
namespace {

class BytesToFloatsCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitBytesToFloatsKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }
};

TEST_P(BytesToFloatsCheck, MatchesReferenceOnRandomRuns) {
  std::vector<size_t> counts;
  for (size_t count = 0; count < 200; ++count) counts.push_back(count);
  for (int n = 0; n < 20; ++n) counts.push_back(random_() % 4000);
  for (size_t offset = 0; offset < 4; ++offset) {
    for (const size_t count : counts) {
      const std::vector<uint8_t> bytes = RandomBytes(offset + count);
      std::vector<float> reference(offset + count + 1, -1.0f), vector(offset + count + 1, -1.0f);
      BytesToFloatsScalar(bytes.data() + offset, reference.data() + offset, count);
      BytesToFloats(bytes.data() + offset, vector.data() + offset, count);
      ASSERT_EQ(vector, reference) << offset << " " << count;
    }
  }
}

VIDMETRA_TIER_CHECK(BytesToFloatsCheck);

}  // namespace
}  // namespace vidmetra
