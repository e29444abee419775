#pragma once
// The frame geometry every converter takes from its size fields, and the byte layouts built on it.
#include <cstddef>
#include <cstdint>

namespace vidmetra::converters {

struct PictureSize {
  int width = 0;
  int height = 0;

  size_t Pixels() const { return static_cast<size_t>(width) * static_cast<size_t>(height); }
  // One ".seq" frame: the Y plane, then the quarter-size U and V planes.
  size_t SequenceFrameBytes() const { return Pixels() * 3 / 2; }
  size_t ChromaPlaneBytes() const { return Pixels() / 4; }
  uint64_t SequenceFrameOffset(uint64_t frame) const { return frame * SequenceFrameBytes(); }
  // One ".gbmp" frame: B, G, R rows bottom-up, each exactly 3 × width bytes.
  size_t TightBgrRowBytes() const { return static_cast<size_t>(width) * 3; }
  size_t GroupFrameBytes() const { return Pixels() * 3; }
  // A row of a 24-bit BMP, padded to whole 32-bit words.
  size_t PaddedBgrRowBytes() const { return PaddedRowBytes(width, 24); }

  static size_t PaddedRowBytes(int width, int bit_count) {
    return (static_cast<size_t>(bit_count) * static_cast<size_t>(width) + 31) / 32 * 4;
  }
};

// Sizes the tools accept: positive, even where frames have chroma planes (they halve both), and small enough that every
// byte count of a frame fits comfortably in memory arithmetic.
inline constexpr int kMaxPictureSide = 32768;
inline bool IsUsableBitmapSize(PictureSize size) {
  return size.width > 0 && size.height > 0 && size.width <= kMaxPictureSide && size.height <= kMaxPictureSide;
}
inline bool IsUsablePictureSize(PictureSize size) {
  return IsUsableBitmapSize(size) && size.width % 2 == 0 && size.height % 2 == 0;
}

}  // namespace vidmetra::converters
