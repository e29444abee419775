#pragma once
// The instruction-set tiers of this processor, detected once, and the one place every family of vectorised
// kernels is chosen from. A family has an init function that fills its table with the scalar references and
// then lets each tier the flags contain override what that tier offers, lowest tier first; a caller asks for
// the family's active table, the one for the current flags.
//
// The flags are the processor's tiers capped by a mask, so that any tier below the processor's own can be forced
// (tests run every kernel family at every tier this way). The mask starts from the environment variable
// VIDMETRA_CPU_MASK, read on first use (case does not matter):
//   scalar   the scalar references only
//   sse2     up to SSE2 (x86)
//   avx2     up to AVX2 (x86)
//   avx512   up to AVX-512 F, BW, DQ and VL (x86)
//   neon     up to NEON (ARM)
// Unset, empty or not one of these names: no cap. A tier the processor lacks is never used, whatever the mask.
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
// Kernels for the x86 tiers are compiled (with per-function target attributes) only under this guard.
#define VIDMETRA_X86_KERNELS 1
#elif defined(__aarch64__) || defined(__ARM_NEON)
#define VIDMETRA_ARM_KERNELS 1
#endif

namespace vidmetra {

enum CpuFlag : unsigned {
  kCpuSse2 = 1u << 0,
  kCpuAvx2 = 1u << 1,
  kCpuAvx512 = 1u << 2,
  kCpuNeon = 1u << 3,
};
// Every combination of the flags above.
constexpr unsigned kCpuFlagSets = 16;
constexpr unsigned kCpuAllFlags = kCpuFlagSets - 1;
inline constexpr const char* kCpuMaskVariable = "VIDMETRA_CPU_MASK";

// The tiers the processor has; each includes those below it on its architecture.
unsigned HostCpuFlags();
// The tiers kernels may use: the processor's within the mask.
unsigned CpuFlags();
unsigned CpuMask();
// Takes effect for every active table at its next use. Not meant to change while kernels run on other threads
// (tests switch tiers between measurements).
void SetCpuMask(unsigned mask);

// The mask for a tier name as VIDMETRA_CPU_MASK takes it: that tier and those below it.
std::optional<unsigned> CpuMaskFromName(std::string_view name);
// The mask VIDMETRA_CPU_MASK asks for, kCpuAllFlags when it asks for none.
unsigned CpuMaskFromEnvironment();

struct CpuTier {
  const char* name;
  unsigned mask;
};
// The tiers usable now (the processor's within the mask), scalar first, each with the mask that caps to it.
std::vector<CpuTier> UsableCpuTiers();

// A family's table for the current flags. The tables for every combination of flags are filled once, so that a
// changed mask is a different table, never a table rewritten under a running kernel.
template <typename Table, void (*Init)(Table& table, unsigned flags)>
const Table& ActiveKernels() {
  static const std::array<Table, kCpuFlagSets> tables = [] {
    std::array<Table, kCpuFlagSets> all{};
    for (unsigned flags = 0; flags < kCpuFlagSets; ++flags) Init(all[flags], flags);
    return all;
  }();
  return tables[CpuFlags()];
}

}  // namespace vidmetra
