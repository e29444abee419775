#pragma once
// Widening 8-bit samples to the floats metrics measure: to[i] = from[i].
#include <cstddef>
#include <cstdint>

namespace vidmetra {

void BytesToFloatsScalar(const uint8_t* from, float* to, size_t count);

struct BytesToFloatsKernels {
  void (*widen)(const uint8_t* from, float* to, size_t count);
};
// The reference, replaced by the vectorised variant of each tier the flags allow.
void InitBytesToFloatsKernels(BytesToFloatsKernels& kernels, unsigned flags);
const BytesToFloatsKernels& ActiveBytesToFloatsKernels();
// The active variant.
void BytesToFloats(const uint8_t* from, float* to, size_t count);

}  // namespace vidmetra
