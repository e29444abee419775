#pragma once
#include <cstddef>

namespace vidmetra {

// Zero-filled, 64-byte aligned memory whose pages become resident only when first written. Frame-sized blocks
// come straight from the kernel on huge-page boundaries and ask for huge pages: on virtual machines every page
// fault is expensive, and a 1080p frame touched page by page costs more than measuring it. Null when out of memory.
void* AllocateZeroed(size_t bytes);
// Gives back a block of AllocateZeroed, with the size it was asked for; a null block is ignored.
void FreeZeroed(void* block, size_t bytes);

}  // namespace vidmetra
