#include "support/cpu_tiers.h"

namespace vidmetra::testing {

std::vector<CpuTier> VectorTiers() {
  std::vector<CpuTier> tiers = UsableCpuTiers();
  tiers.erase(tiers.begin());  // scalar
  return tiers;
}

unsigned MaskBelow(const CpuTier& tier) {
  unsigned below = 0;
  for (const CpuTier& lower : UsableCpuTiers()) {
    if (lower.mask != tier.mask && (lower.mask & tier.mask) == lower.mask) below = lower.mask;
  }
  return below;
}

}  // namespace vidmetra::testing
