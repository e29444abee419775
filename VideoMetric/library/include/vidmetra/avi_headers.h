#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace vidmetra {

// Both AVI headers occupy 56 bytes in the file; a shorter chunk is read as if padded with zero bytes.
inline constexpr size_t kAviHeaderBytes = 56;
using AviHeaderBytes = std::array<uint8_t, kAviHeaderBytes>;

// The main header (`avih`).
struct AviMainHeader {
  uint32_t micro_sec_per_frame = 0;
  uint32_t max_bytes_per_sec = 0;
  uint32_t padding_granularity = 0;
  uint32_t flags = 0;
  uint32_t total_frames = 0;
  uint32_t initial_frames = 0;
  uint32_t streams = 0;
  uint32_t suggested_buffer_size = 0;
  uint32_t width = 0;
  uint32_t height = 0;
};

// A stream header (`strh`); the frame rectangle is four signed 16-bit values in the file.
struct AviStreamHeader {
  uint32_t type = 0;
  uint32_t handler = 0;
  uint32_t flags = 0;
  uint16_t priority = 0;
  uint16_t language = 0;
  uint32_t initial_frames = 0;
  uint32_t scale = 0;
  uint32_t rate = 0;
  uint32_t start = 0;
  uint32_t length = 0;
  uint32_t suggested_buffer_size = 0;
  uint32_t quality = 0;
  uint32_t sample_size = 0;
  int16_t frame_left = 0;
  int16_t frame_top = 0;
  int16_t frame_right = 0;
  int16_t frame_bottom = 0;
};

AviMainHeader ParseAviMainHeader(const AviHeaderBytes& bytes);
AviStreamHeader ParseAviStreamHeader(const AviHeaderBytes& bytes);

}  // namespace vidmetra
