#pragma once
// The installable-compressor interface the AVI writer drives: the requests and their order are those of the
// platform's compressors (state, output format, information, begin, compress, end), plus a drain for
// compressors that hold frames back.
#include <cstdint>
#include <string>
#include <vector>

#include "vidmetra/bitmap_info_header.h"

namespace vidmetra {

// The format of uncompressed 24-bit bottom-up pictures, as the writers hand them to compressors and files.
inline BitmapInfoHeader Rgb24Format(int32_t width, int32_t height) {
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bit_count = 24;
  header.image_size = static_cast<uint32_t>(3 * static_cast<int64_t>(width) * height);
  return header;
}

// One compressed frame; the bytes belong to the compressor and stay valid until its next request.
struct CompressedFrame {
  const uint8_t* data = nullptr;
  int64_t size = 0;
  bool key_frame = false;
};

class VideoCompressor {
 public:
  // Information flag: the compressor keeps its own reference frames and needs no previous-frame buffer.
  static constexpr uint32_t kFastTemporalCompress = 0x20;

  virtual ~VideoCompressor() = default;

  virtual std::string Description() const = 0;
  virtual uint32_t Flags() const = 0;
  virtual std::vector<uint8_t> State() const = 0;
  virtual bool SetState(const std::vector<uint8_t>& state) = 0;
  // Quality 0..10000 (outside it: the compressor's default), data rate in kbit/s (0: not used) and the frame
  // rate as rate / scale; asked for before the output format because some compressors fix their rate control
  // when they start.
  virtual void SetRateControl(int32_t quality, int32_t data_rate, int32_t scale, int32_t rate) = 0;
  // The output format for 24-bit bottom-up input: a 40-byte bitmap information header followed by the
  // compressor's private data; empty when the input cannot be compressed.
  virtual std::vector<uint8_t> OutputFormat(const BitmapInfoHeader& input) = 0;
  virtual bool Begin(const BitmapInfoHeader& input) = 0;
  // Compresses one bottom-up 24-bit frame. A compressor that holds frames back hands out nothing (size 0)
  // until it has one; `previous` is the previous input frame, or null.
  virtual bool Compress(const uint8_t* frame, int32_t frame_number, bool key_frame_wanted, int32_t quality,
                        const uint8_t* previous, CompressedFrame& compressed) = 0;
  // After the last frame: one frame held back per call; false when none is left.
  virtual bool Drain(CompressedFrame& compressed) = 0;
  virtual void End() = 0;
};

}  // namespace vidmetra
