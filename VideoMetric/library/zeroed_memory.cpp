#include "vidmetra/zeroed_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vidmetra {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kAlignment = 64;

// Small blocks stay with the heap, whose reuse is cheaper than a mapping; from a quarter of a huge page on (a
// plane of bytes, say), zeroing them on the heap would fault every page in at once.
bool IsMapped(size_t bytes) { return bytes >= kHugePage / 4; }
// Whole small pages, so that a frame of 3.1 MB is not charged 4 MB of memory; but a part past the last whole huge
// page that nearly fills one (a 1080p plane of bytes is 99% of a huge page) becomes a whole one, which the system
// can then back by a huge page.
size_t MappedBytes(size_t bytes) {
  constexpr size_t kPage = 4096;
  constexpr size_t kNearlyWhole = kHugePage - kHugePage / 32;
  if (bytes % kHugePage >= kNearlyWhole) return (bytes + kHugePage - 1) / kHugePage * kHugePage;
  return (bytes + kPage - 1) / kPage * kPage;
}

}  // namespace

void* AllocateZeroed(size_t bytes) {
  if (!IsMapped(bytes)) {
    const size_t rounded = bytes == 0 ? kAlignment : (bytes + kAlignment - 1) / kAlignment * kAlignment;
    void* block = std::aligned_alloc(kAlignment, rounded);
    if (block != nullptr) std::memset(block, 0, rounded);
    return block;
  }
  // Map one huge page more than needed and trim both ends, so the block starts on a huge-page boundary.
  const size_t length = MappedBytes(bytes);
  void* mapping = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(mapping);
  const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(mapping, aligned - start);
  const size_t tail = start + length + kHugePage - (aligned + length);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void FreeZeroed(void* block, size_t bytes) {
  if (block == nullptr) return;
  if (IsMapped(bytes)) {
    munmap(block, MappedBytes(bytes));
  } else {
    std::free(block);
  }
}

}  // namespace vidmetra
