#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/avi_seeds.h"

namespace vidmetra::testing {

// A bitmap file as written by hand: the two headers with the fields given (the information header `header_size`
// bytes long), then `pixel_bytes` pattern bytes.
std::vector<uint8_t> BitmapBytes(int32_t width, int32_t height, uint32_t header_size, uint16_t bit_count,
                                 size_t pixel_bytes);

// Small bitmaps, readable and not: the fuzzing corpus of the BMP reader starts from them.
std::vector<NamedBytes> BmpSeedFiles();

}  // namespace vidmetra::testing
