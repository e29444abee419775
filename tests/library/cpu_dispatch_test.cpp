#include "vidmetra/cpu_dispatch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "support/cpu_tiers.h"
#include "support/scoped_env.h"
#include "vidmetra/rgb_yuv_kernels.h"

namespace vidmetra {
namespace {

TEST(CpuDispatch, TierNamesMaskTheirTierAndThoseBelow) {
  EXPECT_EQ(CpuMaskFromName("scalar"), 0u);
  EXPECT_EQ(CpuMaskFromName("sse2"), kCpuSse2);
  EXPECT_EQ(CpuMaskFromName("AVX2"), kCpuSse2 | kCpuAvx2);
  EXPECT_EQ(CpuMaskFromName("avx512"), kCpuSse2 | kCpuAvx2 | kCpuAvx512);
  EXPECT_EQ(CpuMaskFromName("neon"), kCpuNeon);
  EXPECT_EQ(CpuMaskFromName(""), std::nullopt);
  EXPECT_EQ(CpuMaskFromName("avx"), std::nullopt);
}

TEST(CpuDispatch, EnvironmentSetsTheMaskAndNoneOrAnUnknownNameCapsNothing) {
  {
    const testing::ScopedEnv variable(kCpuMaskVariable, "sse2");
    EXPECT_EQ(CpuMaskFromEnvironment(), kCpuSse2);
  }
  for (const char* nothing : {"", "fastest"}) {
    const testing::ScopedEnv variable(kCpuMaskVariable, nothing);
    EXPECT_EQ(CpuMaskFromEnvironment(), kCpuAllFlags) << nothing;
  }
  const testing::ScopedEnv variable(kCpuMaskVariable, std::nullopt);
  EXPECT_EQ(CpuMaskFromEnvironment(), kCpuAllFlags);
}

// A run that asks for a tier by name must get it: a misspelt name in a test run would silently test another one.
TEST(CpuDispatch, TheMaskThisRunAskedForIsInForce) {
  const char* asked = std::getenv(kCpuMaskVariable);
  if (asked == nullptr) GTEST_SKIP() << kCpuMaskVariable << " is not set";
  ASSERT_TRUE(CpuMaskFromName(asked).has_value()) << asked;
  EXPECT_EQ(CpuMask(), *CpuMaskFromName(asked));
}

TEST(CpuDispatch, UsableTiersRiseFromScalarWithinTheProcessorAndTheMask) {
  const std::vector<CpuTier> tiers = UsableCpuTiers();
  ASSERT_FALSE(tiers.empty());
  EXPECT_STREQ(tiers.front().name, "scalar");
  for (size_t i = 1; i < tiers.size(); ++i) {
    EXPECT_EQ(tiers[i].mask & HostCpuFlags(), tiers[i].mask) << tiers[i].name;
    EXPECT_EQ(tiers[i].mask & CpuMask(), tiers[i].mask) << tiers[i].name;
    EXPECT_EQ(tiers[i].mask & tiers[i - 1].mask, tiers[i - 1].mask) << tiers[i].name;
  }
#ifdef VIDMETRA_X86_KERNELS
  EXPECT_NE(HostCpuFlags() & kCpuSse2, 0u);  // part of every x86-64 processor
#endif
  const testing::ScopedCpuMask scalar(0);
  EXPECT_EQ(CpuFlags(), 0u);
  EXPECT_EQ(UsableCpuTiers().size(), 1u);
}

// Tests switch tiers within one process: the active table follows every change of the mask.
TEST(CpuDispatch, ActiveTablesFollowTheMask) {
  std::vector<CpuTier> tiers = UsableCpuTiers();
  tiers.insert(tiers.end(), tiers.rbegin(), tiers.rend());  // up and down again
  for (const CpuTier& tier : tiers) {
    const testing::ScopedCpuMask mask(tier.mask);
    EXPECT_EQ(CpuFlags(), tier.mask) << tier.name;
    RgbYuvKernels expected;
    InitRgbYuvKernels(expected, tier.mask);
    EXPECT_EQ(std::memcmp(&ActiveRgbYuvKernels(), &expected, sizeof expected), 0) << tier.name;
  }
  const testing::ScopedCpuMask scalar(0);
  EXPECT_EQ(ActiveRgbYuvKernels().rgb_to_yuv, ScalarRgbYuvKernels().rgb_to_yuv);
}

}  // namespace
}  // namespace vidmetra
