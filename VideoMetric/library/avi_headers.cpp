#include "vidmetra/avi_headers.h"

#include "vidmetra/byte_order.h"

namespace vidmetra {

AviMainHeader ParseAviMainHeader(const AviHeaderBytes& bytes) {
  const uint8_t* p = bytes.data();
  AviMainHeader header;
  header.micro_sec_per_frame = LoadLe32(p);
  header.max_bytes_per_sec = LoadLe32(p + 4);
  header.padding_granularity = LoadLe32(p + 8);
  header.flags = LoadLe32(p + 12);
  header.total_frames = LoadLe32(p + 16);
  header.initial_frames = LoadLe32(p + 20);
  header.streams = LoadLe32(p + 24);
  header.suggested_buffer_size = LoadLe32(p + 28);
  header.width = LoadLe32(p + 32);
  header.height = LoadLe32(p + 36);
  return header;
}

AviStreamHeader ParseAviStreamHeader(const AviHeaderBytes& bytes) {
  const uint8_t* p = bytes.data();
  AviStreamHeader header;
  header.type = LoadLe32(p);
  header.handler = LoadLe32(p + 4);
  header.flags = LoadLe32(p + 8);
  header.priority = LoadLe16(p + 12);
  header.language = LoadLe16(p + 14);
  header.initial_frames = LoadLe32(p + 16);
  header.scale = LoadLe32(p + 20);
  header.rate = LoadLe32(p + 24);
  header.start = LoadLe32(p + 28);
  header.length = LoadLe32(p + 32);
  header.suggested_buffer_size = LoadLe32(p + 36);
  header.quality = LoadLe32(p + 40);
  header.sample_size = LoadLe32(p + 44);
  header.frame_left = static_cast<int16_t>(LoadLe16(p + 48));
  header.frame_top = static_cast<int16_t>(LoadLe16(p + 50));
  header.frame_right = static_cast<int16_t>(LoadLe16(p + 52));
  header.frame_bottom = static_cast<int16_t>(LoadLe16(p + 54));
  return header;
}

}  // namespace vidmetra
