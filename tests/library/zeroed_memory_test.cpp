// Zeroed blocks of every size class: heap blocks, mapped blocks in small pages, mapped blocks rounded up to a
// whole huge page. Each is zero throughout, 64-byte aligned, writable to its last byte and given back whole (the
// address sanitizer build checks the heap side; a wrong mapped length would leave a later block overlapping).
#include "vidmetra/zeroed_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vidmetra {
namespace {

TEST(ZeroedMemory, EverySizeClassIsZeroAlignedAndWritable) {
  constexpr size_t kHuge = size_t{2} << 20;
  const size_t sizes[] = {0, 1, 63, 4097, kHuge / 4 - 1, kHuge / 4, kHuge - kHuge / 32 - 1, kHuge - kHuge / 32,
                          1920 * 1080, kHuge, kHuge + 1, 3110400, 2 * kHuge - 1};
  for (int round = 0; round < 2; ++round) {
    std::vector<std::pair<uint8_t*, size_t>> blocks;
    for (const size_t size : sizes) {
      auto* block = static_cast<uint8_t*>(AllocateZeroed(size));
      ASSERT_NE(block, nullptr) << size;
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 64, 0u) << size;
      EXPECT_TRUE(std::all_of(block, block + size, [](uint8_t byte) { return byte == 0; })) << size;
      std::memset(block, 0xA5, size);
      blocks.emplace_back(block, size);
    }
    // Still intact after every other block was written: no two blocks overlap.
    for (const auto& [block, size] : blocks) {
      EXPECT_TRUE(std::all_of(block, block + size, [](uint8_t byte) { return byte == 0xA5; })) << size;
      FreeZeroed(block, size);
    }
  }
  FreeZeroed(nullptr, 4096);
}

}  // namespace
}  // namespace vidmetra
