#pragma once
#include <cstdint>

namespace vidmetra {

// A four-character code as RIFF files store it: little-endian, the first character in the lowest byte.
constexpr uint32_t FourCc(const char (&code)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

}  // namespace vidmetra
