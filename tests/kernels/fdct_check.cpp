// The lane transforms of every tier against the reference, bit for bit.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "kernels/kernel_check.h"
#include "vidmetra/fdct.h"

namespace vidmetra {
namespace {

using Lanes = std::array<int16_t, 64 * kDctLanes>;
using SampleSource = std::function<int16_t(int block, int sample)>;

Lanes Interleave(const SampleSource& source) {
  Lanes lanes;
  for (int i = 0; i < 64; ++i) {
    for (int j = 0; j < kDctLanes; ++j) lanes[kDctLanes * i + j] = source(j, i);
  }
  return lanes;
}

// Runs the reference and the active transform on the same blocks; any differing coefficient fails.
void ExpectKernelsMatchReference(const Lanes& samples, const char* what) {
  Lanes expected = samples;
  ForwardDct8x8LanesScalar(expected.data());
  Lanes actual = samples;
  ActiveDctKernels().transform(actual.data());
  for (int i = 0; i < 64 * kDctLanes; ++i) {
    ASSERT_EQ(actual[i], expected[i]) << what << ": block " << i % kDctLanes << " coefficient " << i / kDctLanes;
  }
}

TEST(ForwardDctLanes, ReferenceTransformsEachInterleavedBlockOnItsOwn) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> level(-300, 300);
  std::array<std::array<int16_t, 64>, kDctLanes> blocks;
  for (auto& block : blocks) {
    for (int16_t& sample : block) sample = static_cast<int16_t>(level(random));
  }
  Lanes lanes = Interleave([&](int block, int sample) { return blocks[block][sample]; });
  ForwardDct8x8LanesScalar(lanes.data());
  for (int j = 0; j < kDctLanes; ++j) {
    ForwardDct8x8(blocks[j].data());
    for (int i = 0; i < 64; ++i) EXPECT_EQ(lanes[kDctLanes * i + j], blocks[j][i]) << j << " " << i;
  }
}

class DctCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitDctKernels)) GTEST_SKIP() << "no transform of its own at this tier";
  }
};

// Uniform samples over the IEEE 1180 ranges, over the 8-bit and the full 16-bit range the capture can give.
TEST_P(DctCheck, MatchesReferenceOnRandomBlocks) {
  std::mt19937& random = random_;
  const int ranges[][2] = {{-256, 255}, {-5, 5}, {-300, 300}, {0, 255}, {-32768, 32767}};
  for (const auto& range : ranges) {
    for (const int sign : {1, -1}) {
      std::uniform_int_distribution<int> level(range[0], range[1]);
      for (int n = 0; n < 2000; ++n) {
        const Lanes samples = Interleave(
            [&](int, int) { return static_cast<int16_t>(std::clamp(sign * level(random), -32768, 32767)); });
        ExpectKernelsMatchReference(samples, "uniform");
      }
    }
  }
}

// Blocks at the 16-bit limits give the largest intermediate values and the saturated coefficients.
TEST_P(DctCheck, MatchesReferenceAtTheLimits) {
  std::mt19937& random = random_;
  const auto extreme = [&] { return static_cast<int16_t>(random() % 2 ? 32767 : -32768); };
  for (int n = 0; n < 4000; ++n) {
    ExpectKernelsMatchReference(Interleave([&](int, int) { return extreme(); }), "random limits");
  }
  for (const int16_t level : {int16_t{-32768}, int16_t{32767}}) {
    ExpectKernelsMatchReference(Interleave([&](int, int) { return level; }), "flat");
  }
  // For each frequency (u, v), the limits laid out by the sign of its basis function: the block that drives
  // that coefficient furthest.
  for (int first = 0; first < 64; first += kDctLanes) {
    ExpectKernelsMatchReference(Interleave([&](int block, int sample) {
                                  const int u = (first + block) % 8, v = (first + block) / 8;
                                  const int x = sample % 8, y = sample / 8;
                                  const double basis = std::cos((2 * x + 1) * u * std::numbers::pi / 16) *
                                                       std::cos((2 * y + 1) * v * std::numbers::pi / 16);
                                  return static_cast<int16_t>(basis >= 0 ? 32767 : -32768);
                                }),
                                "basis signs");
  }
}

VIDMETRA_TIER_CHECK(DctCheck);

}  // namespace
}  // namespace vidmetra
