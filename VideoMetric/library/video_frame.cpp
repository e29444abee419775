#include "vidmetra/video_frame.h"

#include <algorithm>
#include <cstring>
#include <array>
#include <utility>

namespace vidmetra {
namespace {

bool IsPacked(int colour_space) {
  return colour_space == kRgb24 || colour_space == kRgb32 || colour_space == kYuy2 || colour_space == kUyvy;
}

int RoundUp16(int value) { return (value + 15) / 16 * 16; }

// Bytes of one row of a plane in the tight layout.
int TightRowBytes(int colour_space, const PlaneLayout& plane) {
  return IsPacked(colour_space) ? static_cast<int>(RowBytes(colour_space, plane.width)) : plane.width;
}

void CopyPlane(const PlaneLayout& to, const PlaneLayout& from) {
  const size_t bytes = static_cast<size_t>(from.width) * static_cast<size_t>(from.unit);
  for (int y = 0; y < from.height; ++y) {
    std::memcpy(to.origin + static_cast<ptrdiff_t>(y) * to.stride, from.origin + static_cast<ptrdiff_t>(y) * from.stride,
                bytes);
  }
}

void FillPlaneBorder(const PlaneLayout& plane) {
  if (plane.width <= 0 || plane.height <= 0 || plane.origin == nullptr) return;
  const int unit = plane.unit;
  const int right = plane.alloc_units - plane.left - plane.width;
  for (int y = 0; y < plane.height; ++y) {
    uint8_t* row = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride;
    for (int i = 1; i <= plane.left; ++i) std::memcpy(row - i * unit, row, unit);
    const uint8_t* last = row + (plane.width - 1) * unit;
    for (int i = 1; i <= right; ++i) std::memcpy(row + (plane.width - 1 + i) * unit, last, unit);
  }
  uint8_t* first_row = plane.origin - plane.left * unit;
  const size_t row_bytes = static_cast<size_t>(plane.alloc_units) * static_cast<size_t>(unit);
  for (int t = 1; t <= plane.top; ++t) std::memcpy(first_row - static_cast<ptrdiff_t>(t) * plane.stride, first_row, row_bytes);
  const uint8_t* last_row = first_row + static_cast<ptrdiff_t>(plane.height - 1) * plane.stride;
  for (int y = plane.height; y < plane.alloc_rows - plane.top; ++y) {
    std::memcpy(first_row + static_cast<ptrdiff_t>(y) * plane.stride, last_row, row_bytes);
  }
}

}  // namespace

bool VideoFrame::ComputeFormat(int width, int height, int colour_space, int border) {
  width = std::max(width, 0);
  height = height < 1 ? 0 : height;
  border = (std::max(border, 0) + 7) / 8 * 8;
  if (width > kMaxDimension || height > kMaxDimension || border > kMaxDimension) {
    Clear();
    return false;
  }
  width_ = width;
  height_ = height;
  colour_space_ = colour_space;
  border_ = border;
  alloc_width_ = RoundUp16(width) + 2 * border;
  alloc_height_ = RoundUp16(height) + 2 * border;
  stride_ = static_cast<int>(RowBytes(colour_space, alloc_width_));
  padded_ = width % 16 != 0 || height % 16 != 0 || border != 0;
  external_ = nullptr;
  return true;
}

void VideoFrame::Clear() {
  width_ = height_ = alloc_width_ = alloc_height_ = stride_ = border_ = 0;
  padded_ = false;
  external_ = nullptr;
}

size_t VideoFrame::StoreBytes() const {
  return static_cast<size_t>(AllocationFactor(colour_space_)) * static_cast<size_t>(alloc_width_) *
         static_cast<size_t>(alloc_height_);
}

bool VideoFrame::SetFormat(int width, int height, int colour_space, int border) {
  if (!ComputeFormat(width, height, colour_space, border)) return false;
  if (pixels_.Ensure(StoreBytes()) == nullptr) {
    Clear();
    return false;
  }
  return true;
}

bool VideoFrame::SetFormatKeep(int width, int height, int colour_space, int border) {
  if (!ComputeFormat(width, height, colour_space, border)) return false;
  // An unpadded frame may be filled straight from a caller's tight buffer, so its store is left alone; it is
  // still grown when too small, which the format computation alone cannot rule out.
  if ((padded_ || pixels_.capacity() < StoreBytes()) && pixels_.Ensure(StoreBytes()) == nullptr) {
    Clear();
    return false;
  }
  return true;
}

int VideoFrame::PlaneCount() const {
  if (IsPacked(colour_space_) || colour_space_ == kY) return 1;
  return 3;
}

PlaneLayout VideoFrame::Plane(int index) const {
  PlaneLayout plane;
  uint8_t* base = pixels_.data();
  if (base == nullptr || index < 0 || index >= PlaneCount()) return plane;
  const ptrdiff_t s = stride_;
  const ptrdiff_t h = alloc_height_;
  const int b = border_;
  if (index == 0 || IsThreePlane(colour_space_)) {
    plane.unit = IsPacked(colour_space_) ? PixelStep(colour_space_) : 1;
    if (colour_space_ == kYuy2 || colour_space_ == kUyvy) plane.unit = 2;
    plane.stride = stride_;
    plane.width = width_;
    plane.height = height_;
    plane.left = plane.top = b;
    plane.alloc_units = alloc_width_;
    plane.alloc_rows = alloc_height_;
    plane.origin = base + index * s * h + b * s + b * plane.unit;
    return plane;
  }
  plane.stride = stride_ / 2;
  plane.alloc_units = stride_ / 2;
  plane.left = b / 2;
  uint8_t* start = base + s * h;
  if (IsPlanar420(colour_space_)) {
    if (index == 2) start = base + s * h * 5 / 4;
    plane.width = (width_ + 1) / 2;
    plane.height = (height_ + 1) / 2;
    plane.top = b / 2;
    plane.alloc_rows = alloc_height_ / 2;
  } else {  // planar 4:2:2
    if (index == 2) start = base + s * h * 3 / 2;
    plane.width = width_ / 2;
    plane.height = height_;
    plane.top = b;
    plane.alloc_rows = alloc_height_;
  }
  plane.origin = start + static_cast<ptrdiff_t>(plane.top) * plane.stride + plane.left;
  return plane;
}

void VideoFrame::FillBorder() {
  for (int k = 0; k < PlaneCount(); ++k) FillPlaneBorder(Plane(k));
}

void VideoFrame::ImportTight(const uint8_t* source) {
  external_ = source;
  if (pixels_.Ensure(StoreBytes()) == nullptr || source == nullptr) return;
  const uint8_t* from = source;
  for (int k = 0; k < PlaneCount(); ++k) {
    const PlaneLayout to = Plane(k);
    PlaneLayout tight = to;
    tight.origin = const_cast<uint8_t*>(from);
    tight.stride = TightRowBytes(colour_space_, to);
    CopyPlane(to, tight);
    from += static_cast<ptrdiff_t>(tight.stride) * to.height;
  }
  FillBorder();
}

bool VideoFrame::CanImportInPlace() const {
  return border_ == 0 && alloc_width_ == width_ && pixels_.data() != nullptr &&
         static_cast<int64_t>(pixels_.capacity()) >= TightFrameBytes(colour_space_, width_, height_);
}

void VideoFrame::ImportTightInPlace() {
  external_ = nullptr;
  // Each plane lies at or after its tight position, so moving the last plane first never overwrites a plane
  // that has yet to move.
  std::array<ptrdiff_t, 3> tight_offsets{};
  ptrdiff_t offset = 0;
  for (int k = 0; k < PlaneCount(); ++k) {
    tight_offsets[static_cast<size_t>(k)] = offset;
    const PlaneLayout plane = Plane(k);
    offset += static_cast<ptrdiff_t>(TightRowBytes(colour_space_, plane)) * plane.height;
  }
  for (int k = PlaneCount() - 1; k > 0; --k) {
    const PlaneLayout plane = Plane(k);
    std::memmove(plane.origin, pixels_.data() + tight_offsets[static_cast<size_t>(k)],
                 static_cast<size_t>(plane.stride) * static_cast<size_t>(plane.height));
  }
  FillBorder();
}

void VideoFrame::ExportTight(uint8_t* destination) const {
  if (!HasPixels() || destination == nullptr || destination == pixels_.data()) return;
  const int planes = (colour_space_ == kY || colour_space_ == kYv16) ? 1 : PlaneCount();
  uint8_t* to = destination;
  for (int k = 0; k < planes; ++k) {
    const PlaneLayout from = Plane(k);
    PlaneLayout tight = from;
    tight.origin = to;
    tight.stride = TightRowBytes(colour_space_, from);
    CopyPlane(tight, from);
    to += static_cast<ptrdiff_t>(tight.stride) * from.height;
  }
}

bool VideoFrame::ConvertFrom(const VideoFrame& source, int colour_space, int border, bool per_field) {
  if (!source.HasPixels() || source.data() == pixels_.data()) return false;
  if (colour_space_ != colour_space || width_ != source.width() || height_ != source.height()) {
    if (!SetFormat(source.width(), source.height(), colour_space, border)) return false;
  } else {
    const uint8_t* kept = external_;
    const bool ok = pixels_.data() == nullptr ? SetFormat(source.width(), source.height(), colour_space, border)
                                              : SetFormatKeep(source.width(), source.height(), colour_space, border);
    if (!ok) return false;
    external_ = kept;
  }
  if (source.colour_space() == colour_space) {
    for (int k = 0; k < PlaneCount(); ++k) CopyPlane(Plane(k), source.Plane(k));
    FillBorder();
    return true;
  }
  if (colour_space > kPlanarYrg) return true;
  if (!ConvertPixels(*this, source, per_field)) return false;
  if (colour_space != kY) FillBorder();
  return true;
}

void VideoFrame::Swap(VideoFrame& other) noexcept {
  std::swap(padded_, other.padded_);
  std::swap(alloc_width_, other.alloc_width_);
  std::swap(alloc_height_, other.alloc_height_);
  std::swap(stride_, other.stride_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(colour_space_, other.colour_space_);
  std::swap(border_, other.border_);
  pixels_.Swap(other.pixels_);
  scratch_.Swap(other.scratch_);
  std::swap(external_, other.external_);
}

bool VideoFrame::FlipVertical() {
  if (colour_space_ != kRgb24 || pixels_.data() == nullptr) return false;
  uint8_t* base = pixels_.data();
  const size_t row_bytes = static_cast<size_t>(stride_);
  uint8_t* temporary = scratch_.Ensure(row_bytes);
  if (temporary == nullptr) return false;
  for (int i = 0, j = alloc_height_ - 1; i < j; ++i, --j) {
    uint8_t* a = base + static_cast<ptrdiff_t>(i) * stride_;
    uint8_t* b = base + static_cast<ptrdiff_t>(j) * stride_;
    std::memcpy(temporary, a, row_bytes);
    std::memcpy(a, b, row_bytes);
    std::memcpy(b, temporary, row_bytes);
  }
  return true;
}

}  // namespace vidmetra
