#pragma once
// Forward 8 × 8 DCT-II in fixed point, normalised so that coefficient (0, 0) is one eighth of the sample sum:
// F(u, v) = ¼·C(u)·C(v)·Σ f(x, y)·cos((2x + 1)uπ/16)·cos((2y + 1)vπ/16), C(0) = 1/√2. Rounded to the nearest
// integer within the IEEE 1180 accuracy limits.
#include <cstdint>

namespace vidmetra {

// `block` holds 64 samples row-major and receives the coefficients, row i being vertical frequency i.
// Coefficients saturate at the 16-bit limits.
void ForwardDct8x8(int16_t block[64]);

// Blocks transformed together, one per vector lane. They are stored interleaved: entry kDctLanes·i + j is
// sample (and then coefficient) i of block j.
constexpr int kDctLanes = 8;
using DctLanesFunction = void (*)(int16_t* blocks);

// ForwardDct8x8 on each of the interleaved blocks: the reference the vectorised transforms match bit for bit.
void ForwardDct8x8LanesScalar(int16_t* blocks);

struct DctKernels {
  DctLanesFunction transform;
};
// The reference, replaced by the vectorised transform of each tier the flags allow.
void InitDctKernels(DctKernels& kernels, unsigned flags);
const DctKernels& ActiveDctKernels();

}  // namespace vidmetra
