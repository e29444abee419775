#pragma once
#include <cstdint>

namespace vidmetra {

// Little-endian loads from unaligned bytes, independent of the host's byte order.
inline uint16_t LoadLe16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline uint32_t LoadLe32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline uint64_t LoadLe64(const uint8_t* bytes) {
  return static_cast<uint64_t>(LoadLe32(bytes)) | static_cast<uint64_t>(LoadLe32(bytes + 4)) << 32;
}

}  // namespace vidmetra

namespace vidmetra {

// Little-endian stores into unaligned bytes.
inline void StoreLe16(uint8_t* bytes, uint16_t value) {
  bytes[0] = static_cast<uint8_t>(value);
  bytes[1] = static_cast<uint8_t>(value >> 8);
}

inline void StoreLe32(uint8_t* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace vidmetra
