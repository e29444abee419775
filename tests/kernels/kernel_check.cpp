#include "kernels/kernel_check.h"

#include <cstdlib>
#include <iostream>

namespace vidmetra::testing {

uint32_t KernelSeed() {
  static const uint32_t seed = [] {
    if (const char* value = std::getenv(kKernelSeedVariable)) return static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
    return std::random_device{}();
  }();
  return seed;
}

std::string TierTestName(const ::testing::TestParamInfo<CpuTier>& info) { return info.param.name; }

TierCheck::TierCheck() : random_(KernelSeed()), mask_(GetParam().mask) {}

void TierCheck::TearDown() {
  RecordProperty("seed", std::to_string(KernelSeed()));
  if (HasFailure()) {
    std::cout << "kernel check failed at tier " << GetParam().name << " with seed " << KernelSeed() << "; repeat with "
              << kKernelSeedVariable << "=" << KernelSeed() << "\n";
  }
}

uint8_t RandomByte(std::mt19937& random) {
  const auto draw = static_cast<uint32_t>(random());
  if (draw % 4 == 0) return (draw >> 8) % 2 == 0 ? 0 : 255;
  return static_cast<uint8_t>(draw >> 8);
}

std::vector<uint8_t> TierCheck::RandomBytes(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (uint8_t& byte : bytes) byte = RandomByte(random_);
  return bytes;
}

size_t RandomOffset(std::mt19937& random, size_t limit) { return random() % (limit + 1); }

}  // namespace vidmetra::testing
