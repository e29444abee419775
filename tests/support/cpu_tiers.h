#pragma once
// What the kernel check and the kernel benchmark share: forcing a CPU tier, and which tiers give a kernel family
// anything of its own to check or time.
#include <cstring>
#include <ostream>
#include <vector>

#include "vidmetra/cpu_dispatch.h"

namespace vidmetra {

// Names the tier in test output.
inline void PrintTo(const CpuTier& tier, std::ostream* out) { *out << tier.name; }

}  // namespace vidmetra

namespace vidmetra::testing {

// Caps the CPU tiers kernels use for the scope, then restores the mask that was set before.
class ScopedCpuMask {
 public:
  explicit ScopedCpuMask(unsigned mask) : previous_(CpuMask()) { SetCpuMask(mask); }
  ~ScopedCpuMask() { SetCpuMask(previous_); }
  ScopedCpuMask(const ScopedCpuMask&) = delete;
  ScopedCpuMask& operator=(const ScopedCpuMask&) = delete;

 private:
  unsigned previous_;
};

// The usable tiers above scalar, lowest first.
std::vector<CpuTier> VectorTiers();
// The mask of the usable tier just below `tier`.
unsigned MaskBelow(const CpuTier& tier);

// Whether a family's table at `tier` differs from the one at the tier below, i.e. whether the tier has a kernel
// of its own.
template <typename Table>
bool TierHasOwnKernels(void (*init)(Table&, unsigned), const CpuTier& tier) {
  Table own{}, below{};
  init(own, tier.mask);
  init(below, MaskBelow(tier));
  return std::memcmp(&own, &below, sizeof own) != 0;
}

}  // namespace vidmetra::testing
