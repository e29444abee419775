#pragma once
// Filling a PlaneFrame from 8-bit pictures and converting its float planes between RGB, YUV and L. The
// `content` field says which planes hold the current picture; each conversion acts only on the content it
// expects and records the matrix it was asked for.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "vidmetra/colour_component.h"
#include "vidmetra/colour_matrix.h"
#include "vidmetra/plane_frame.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {

// R, G, B from pixels of blue, green, red bytes `step` apart, rows `stride` bytes apart (negative for a
// bottom-up picture, `pixels` then being its top row); content = 1.
void FillFromBgr(PlaneFrame& planes, const uint8_t* pixels, ptrdiff_t stride, int step = 3);
// Y from the Y byte, U and V centred (byte - 128), from a 4:4:4 YUV frame; content = 0.
void FillFromYuv444(PlaneFrame& planes, const VideoFrame& frame);
void ConvertYuvToRgb(PlaneFrame& planes, int matrix);
void ConvertRgbToYuv(PlaneFrame& planes, int matrix);
void ComputeL(PlaneFrame& planes, int matrix);

// The per-sample formulas, shared with the preparation that computes a single plane straight from bytes.
// `component` is 0, 1 or 2 for Y, U, V; `matrix` must be known.
inline float YuvFromRgb(int matrix, int component, float r, float g, float b) {
  if (matrix == kRec601) {
    if (component == 0) return 0.257f * r + 0.504f * g + 0.098f * b + 16.0f;
    if (component == 1) return 0.439f * b - 0.291f * g - 0.148f * r;
    return 0.439f * r - 0.368f * g - 0.071f * b;
  }
  if (component == 0) return 0.299f * r + 0.587f * g + 0.114f * b;
  if (component == 1) return 0.436f * b - 0.289f * g - 0.147f * r;
  return 0.615f * r - 0.515f * g - 0.100f * b;
}

// R, G or B (kComponentR, G, B) from Y and centred U, V under a known matrix, clamped to 0 to 255 as
// std::clamp does. Written once for float and for the vectors of the row kernels (yuv_plane_rows.h), into whose
// per-instruction-set entry points they must always be inlined: vectors do not pass between those and code
// compiled for the baseline.
template <typename T>
[[gnu::always_inline]] inline T Clamp255(T value) {
  const T zero{};
  const T top = zero + 255.0f;
  return value < zero ? zero : (top < value ? top : value);
}

template <typename T>
[[gnu::always_inline]] inline T RgbFromYuv(int matrix, int component, T y, T u, T v) {
  if (matrix == kRec601) {
    const T luma = 1.164f * (y - 16.0f);
    if (component == kComponentR) return Clamp255(luma + 1.596f * v);
    if (component == kComponentG) return Clamp255(luma - 0.391f * u - 0.813f * v);
    return Clamp255(luma + 2.018f * u);
  }
  if (component == kComponentR) return Clamp255(y + 1.14f * v);
  if (component == kComponentG) return Clamp255(y - 0.395f * u - 0.581f * v);
  return Clamp255(y + 2.032f * u);
}

// Relative luminance: `luma` is Y of YUV content or the matrix's luma of RGB content, before dividing by 255.
inline double RelativeLuminance(double luma) { return luma * static_cast<double>(0.003921569f); }

// L of a relative luminance; the threshold is compared with t as computed, the formulas use t in single
// precision.
inline float LightnessOf(double t) {
  const double single = static_cast<float>(t);
  return static_cast<float>(t > 0.008856 ? 116.0 * std::pow(single, 0.33333) - 16.0 : 903.3 * single);
}

// LightnessOf the relative luminance of every Y byte value, indexed by the byte.
const std::array<float, 256>& LightnessOfBytes();

// The luma that ComputeL weighs for RGB content (a known matrix only).
inline double LumaForLightness(int matrix, float r, float g, float b) {
  if (matrix == kRec601) return 0.257 * r + 0.504 * g + 0.098 * b + 16.0;
  return 0.299 * r + 0.587 * g + 0.114 * b;
}

}  // namespace vidmetra
