#pragma once
// The kernel check: every family of vectorised kernels at every tier this processor has (within
// VIDMETRA_CPU_MASK), against its scalar reference on seeded random inputs. The seed changes from run to run;
// a failing test prints it, and VIDMETRA_KERNEL_SEED=<seed> repeats the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/cpu_tiers.h"

namespace vidmetra::testing {

inline constexpr const char* kKernelSeedVariable = "VIDMETRA_KERNEL_SEED";

// The seed of this run: VIDMETRA_KERNEL_SEED when set, otherwise drawn once.
uint32_t KernelSeed();

std::string TierTestName(const ::testing::TestParamInfo<CpuTier>& info);

// One family checked at one tier: for the test's duration the mask caps the tiers at it, so every active table
// is the tier's.
class TierCheck : public ::testing::TestWithParam<CpuTier> {
 protected:
  TierCheck();
  void TearDown() override;

  template <typename Table>
  bool TierHasOwnKernels(void (*init)(Table&, unsigned)) const {
    return testing::TierHasOwnKernels(init, GetParam());
  }

  // `count` bytes of RandomByte.
  std::vector<uint8_t> RandomBytes(size_t count);

  std::mt19937 random_;

 private:
  ScopedCpuMask mask_;
};

// A random byte; one call in four gives 0 or 255.
uint8_t RandomByte(std::mt19937& random);
// A random start offset of up to `limit` elements, so that kernels also meet unaligned data.
size_t RandomOffset(std::mt19937& random, size_t limit);

}  // namespace vidmetra::testing

// Runs a TierCheck suite at every vectorised tier; none at all where only the scalar references run.
#define VIDMETRA_TIER_CHECK(suite)                   \
  GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(suite); \
  INSTANTIATE_TEST_SUITE_P(Tiers, suite, ::testing::ValuesIn(::vidmetra::testing::VectorTiers()), \
                           ::vidmetra::testing::TierTestName)
