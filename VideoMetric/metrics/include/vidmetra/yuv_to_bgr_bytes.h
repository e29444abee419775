#pragma once
#include <cstdint>

namespace vidmetra {

// Displayable pixels from planar 4:4:4 YUV bytes (Y, then U, then V, each width x height, no padding): blue,
// green, red per pixel, rows `target_stride` bytes apart in source order. Nothing is written for an unknown
// matrix or a missing buffer. Always reports success.
// From tables of the formulas' values.
bool YuvToBgrBytes(const uint8_t* source, uint8_t* target, int width, int height, int target_stride, int matrix);
// The same, pixel by pixel through the formulas: the reference.
bool YuvToBgrBytesReference(const uint8_t* source, uint8_t* target, int width, int height, int target_stride,
                            int matrix);

}  // namespace vidmetra
