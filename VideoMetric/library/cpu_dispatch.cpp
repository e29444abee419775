#include "vidmetra/cpu_dispatch.h"

#include <atomic>
#include <cstdlib>

#include "vidmetra/ascii_case.h"

namespace vidmetra {
namespace {

// Lowest first within each architecture.
constexpr CpuTier kTiers[] = {
    {"scalar", 0},
    {"sse2", kCpuSse2},
    {"avx2", kCpuSse2 | kCpuAvx2},
    {"avx512", kCpuSse2 | kCpuAvx2 | kCpuAvx512},
    {"neon", kCpuNeon},
};

unsigned DetectCpuFlags() {
  unsigned flags = 0;
#if defined(VIDMETRA_X86_KERNELS)
  // The checks also ask whether the system saves the wide registers; each tier requires the one below it.
  __builtin_cpu_init();
  flags |= kCpuSse2;
  if (__builtin_cpu_supports("avx2")) {
    flags |= kCpuAvx2;
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl")) {
      flags |= kCpuAvx512;
    }
  }
#elif defined(VIDMETRA_ARM_KERNELS)
  flags |= kCpuNeon;  // part of every 64-bit ARM processor, and of the 32-bit builds that assume it
#endif
  return flags;
}

std::atomic<unsigned>& Mask() {
  static std::atomic<unsigned> mask{CpuMaskFromEnvironment()};
  return mask;
}

}  // namespace

unsigned HostCpuFlags() {
  static const unsigned flags = DetectCpuFlags();
  return flags;
}

unsigned CpuFlags() { return HostCpuFlags() & Mask().load(std::memory_order_relaxed); }

unsigned CpuMask() { return Mask().load(std::memory_order_relaxed); }

void SetCpuMask(unsigned mask) { Mask().store(mask & kCpuAllFlags, std::memory_order_relaxed); }

std::optional<unsigned> CpuMaskFromName(std::string_view name) {
  const std::string lowered = ToLowerAscii(name);
  for (const CpuTier& tier : kTiers) {
    if (lowered == tier.name) return tier.mask;
  }
  return std::nullopt;
}

unsigned CpuMaskFromEnvironment() {
  const char* value = std::getenv(kCpuMaskVariable);
  return value == nullptr ? kCpuAllFlags : CpuMaskFromName(value).value_or(kCpuAllFlags);
}

std::vector<CpuTier> UsableCpuTiers() {
  std::vector<CpuTier> tiers;
  const unsigned usable = CpuFlags();
  for (const CpuTier& tier : kTiers) {
    if ((tier.mask & usable) == tier.mask) tiers.push_back(tier);
  }
  return tiers;
}

}  // namespace vidmetra
