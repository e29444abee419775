#pragma once
// What the SSIM kernels share: the stabilisers, and the vectorised kernels, each compiled for its own
// instruction set. A vectorised kernel may only run where the processor has that set (InitSsimKernels chooses
// them); it expects a width that is a multiple of 8 and at least 8.
#include "vidmetra/cpu_dispatch.h"
#include "vidmetra/ssim_kernels.h"

namespace vidmetra {

// The SSIM stabilisers (0.01·255)² and (0.03·255)², scaled by 64² because the index is formed from sums.
constexpr float kSsimC1 = 26634.24f;
constexpr float kSsimC2 = 239708.16f;

// The reference and the AVX2 kernel keep running column sums in a ring of 9 rows of this many entries per
// statistic: one row per window row, rotating.
constexpr int kSsimRingRows = 9;
inline size_t SsimRingRowLength(int width) { return static_cast<size_t>(width / 8) * 8 + 8; }

#ifdef VIDMETRA_X86_KERNELS
bool SsimSumAvx2(const SsimPlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);
bool SsimSumAvx2(const SsimBytePlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);
bool SsimSumAvx512(const SsimPlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);
bool SsimSumAvx512(const SsimBytePlanes& planes, float* map, SsimScratch& scratch, SsimIndexSum& sum);
#endif

}  // namespace vidmetra
