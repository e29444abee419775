#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vidmetra::testing {

// `count` pseudo-random bytes, the same for the same seed, so that a misplaced read shows.
std::vector<uint8_t> PatternBytes(size_t count, uint32_t seed);

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);

}  // namespace vidmetra::testing
