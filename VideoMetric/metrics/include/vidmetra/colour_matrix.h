#pragma once
#include <cstdint>

namespace vidmetra {

// How float planes relate Y, U, V to R, G, B: 0 "REC.601" (Y in 16 to 235), 1 "PC.601" (full range). Any other
// value makes the conversions that depend on it do nothing.
enum ColourMatrix : int32_t { kRec601 = 0, kPc601 = 1 };

inline bool IsKnownColourMatrix(int matrix) { return matrix == kRec601 || matrix == kPc601; }

}  // namespace vidmetra
