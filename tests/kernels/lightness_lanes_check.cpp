// L from luma at every tier against the reference, bit for bit: the luma of random byte triples under both
// matrices, random luma values around the threshold of the linear branch and across the whole range, and values
// no picture gives (negative, huge, infinite, NaN), in runs of every length around the vector step.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/colour_matrix.h"
#include "vidmetra/lightness_lanes.h"
#include "vidmetra/plane_colour.h"

namespace vidmetra {
namespace {

class LightnessLanesCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitLightnessKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }

  double RandomLuma(int kind) {
    const auto byte = [&] { return static_cast<float>(testing::RandomByte(random_)); };
    switch (kind) {
      case 0: return LumaForLightness(kRec601, byte(), byte(), byte());
      case 1: return LumaForLightness(kPc601, byte(), byte(), byte());
      case 2: return 2.2583 + static_cast<double>(static_cast<int>(random_() % 2001) - 1000) * 1e-6;  // t near 0.008856
      case 3: return static_cast<double>(random_()) / 4294967296.0 * 300.0;
      default: {
        const double special[] = {0.0, -0.0, -3.0, 255.0, 1e30, std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(), 1e-300};
        return special[random_() % 8];
      }
    }
  }
};

TEST_P(LightnessLanesCheck, MatchesReferenceBitForBit) {
  const LightnessKernels& kernels = ActiveLightnessKernels();
  for (int n = 0; n < 200; ++n) {
    const size_t count = n < 40 ? static_cast<size_t>(n) : 1 + random_() % 5000;
    const int kind = n % 5;
    std::vector<double> luma(count);
    for (double& value : luma) value = RandomLuma(kind == 4 && random_() % 4 != 0 ? 0 : kind);
    std::vector<float> reference(count + 1, -1.0f), vector(count + 1, -1.0f);
    LightnessOfLumaScalar(luma.data(), count, reference.data());
    kernels.of_luma(luma.data(), count, vector.data());
    ASSERT_EQ(0, std::memcmp(vector.data(), reference.data(), (count + 1) * sizeof(float))) << count << " " << kind;
  }
}

VIDMETRA_TIER_CHECK(LightnessLanesCheck);

}  // namespace
}  // namespace vidmetra
