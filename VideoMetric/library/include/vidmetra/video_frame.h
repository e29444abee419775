#pragma once
// The frame buffer of the whole program: pictures are kept with both dimensions rounded up to 16 and a border
// of replicated edge pixels, so that vectorised conversions and filters never need edge cases.
#include <cstdint>

#include "vidmetra/colour_space.h"
#include "vidmetra/growable_buffer.h"

namespace vidmetra {

// Where one plane of a frame lives and how far its allocation reaches around the picture.
struct PlaneLayout {
  uint8_t* origin = nullptr;  // sample (0, 0) of the picture
  int stride = 0;             // bytes between rows
  int width = 0;              // picture samples per row
  int height = 0;             // picture rows
  int unit = 1;               // bytes of one replicated sample
  int left = 0;               // border samples left of the picture
  int top = 0;                // border rows above the picture
  int alloc_units = 0;        // samples in one allocated row, borders included
  int alloc_rows = 0;         // allocated rows, borders included
};

class VideoFrame {
 public:
  // Pictures beyond this in either dimension are refused rather than allocated.
  static constexpr int kMaxDimension = 1 << 15;

  VideoFrame() = default;
  VideoFrame(const VideoFrame&) = delete;
  VideoFrame& operator=(const VideoFrame&) = delete;

  // Both return false (leaving an empty frame) when the size cannot be held.
  bool SetFormat(int width, int height, int colour_space, int border);
  bool SetFormatKeep(int width, int height, int colour_space, int border);
  void ImportTight(const uint8_t* source);
  // Whether a tight frame written at the start of the store can be imported in place: border 0 and rows of
  // exactly the tight width, so that only whole planes need moving.
  bool CanImportInPlace() const;
  // Imports the tight frame found at the start of the store; requires CanImportInPlace().
  void ImportTightInPlace();
  void ExportTight(uint8_t* destination) const;
  bool ConvertFrom(const VideoFrame& source, int colour_space, int border, bool per_field);
  bool FlipVertical();
  void FillBorder();
  // Exchanges pictures, formats and memory with another frame, copying nothing.
  void Swap(VideoFrame& other) noexcept;

  int PlaneCount() const;
  PlaneLayout Plane(int index) const;
  uint8_t* Scratch(size_t size) { return scratch_.Ensure(size); }

  bool HasPixels() const { return pixels_.data() != nullptr && width_ > 0 && height_ > 0; }
  uint8_t* data() const { return pixels_.data(); }
  size_t StoreBytes() const;
  bool padded() const { return padded_; }
  int alloc_width() const { return alloc_width_; }
  int alloc_height() const { return alloc_height_; }
  int stride() const { return stride_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int colour_space() const { return colour_space_; }
  int border() const { return border_; }
  const uint8_t* external() const { return external_; }

 private:
  bool ComputeFormat(int width, int height, int colour_space, int border);
  void Clear();

  bool padded_ = false;
  int alloc_width_ = 0;
  int alloc_height_ = 0;
  int stride_ = 0;
  int width_ = 0;
  int height_ = 0;
  int colour_space_ = kRgb24;
  int border_ = 0;
  GrowableBuffer pixels_;
  GrowableBuffer scratch_;
  const uint8_t* external_ = nullptr;
};

// The pixel conversions behind ConvertFrom for two different colour spaces, border not yet filled.
// Returns false for a pair that has no conversion.
bool ConvertPixels(VideoFrame& target, const VideoFrame& source, bool per_field);

}  // namespace vidmetra
