#pragma once
// Widening 8-bit samples to the floats metrics measure: to[i] = from[i].
#include <cstddef>
#include <cstdint>

namespace vidmetra {

void BytesToFloatsScalar(const uint8_t* from, float* to, size_t count);
// The same with the widest vectors this processor has, chosen once per process.
void BytesToFloats(const uint8_t* from, float* to, size_t count);

}  // namespace vidmetra
