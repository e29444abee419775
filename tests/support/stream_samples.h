#pragma once
#include <cstdint>
#include <vector>

#include "vidmetra/stream_source.h"

namespace vidmetra::testing {

// Reads one sample as a reader does: a size query, then the read into a buffer of that size.
// A failed read is a test failure; the bytes that arrived are returned either way.
std::vector<uint8_t> ReadWholeSample(StreamSource& stream, int64_t sample);

}  // namespace vidmetra::testing
