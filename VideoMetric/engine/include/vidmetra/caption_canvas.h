#pragma once
// A 24-bit device-independent bitmap as the captions draw on it: blue, green, red per pixel, rows stored from
// the bottom of the picture up, `stride` bytes apart.
#include <cstddef>
#include <cstdint>

namespace vidmetra {

struct CaptionCanvas {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;

  // The pixel at column x of picture row y, counted from the top; null outside the picture.
  uint8_t* PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
    return pixels + static_cast<ptrdiff_t>(height - 1 - y) * stride + 3 * static_cast<ptrdiff_t>(x);
  }
};

struct CaptionColour {
  uint8_t r, g, b;
};

inline constexpr CaptionColour kCaptionMark{255, 0, 0};
inline constexpr CaptionColour kCaptionShadow{40, 40, 40};
inline constexpr CaptionColour kCaptionText{220, 220, 220};

// Where caption text goes: one line of text at a top-left corner, in one colour.
class TextStamp {
 public:
  virtual ~TextStamp() = default;
  virtual void Stamp(const CaptionCanvas& canvas, int x, int y, const char* text, size_t length,
                     CaptionColour colour) const = 0;
};

}  // namespace vidmetra
