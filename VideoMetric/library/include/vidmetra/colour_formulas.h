#pragma once
// The per-pixel arithmetic of the 8-bit conversions, in two flavours:
// - the reference: luma in double precision, chroma in single precision with single-precision constants, the
//   offset +0.5 (+128.5 for chroma) added and the sum truncated toward zero before clamping to 0..255;
// - the nearest flavour used by the vectorised kernels: everything in single precision without the half offset,
//   rounded to nearest with ties to even. It may differ from the reference by one where a value lies on (or
//   within float rounding of) a half.
// The chroma "raw" values below are the weighted sums without any offset, so that subsampling can average them.
#include <cstdint>

namespace vidmetra {

inline uint8_t TruncateToByte(double value) {
  // Comparing before converting keeps the conversion defined for any value.
  if (!(value > 0.0)) return 0;
  if (value >= 255.0) return 255;
  return static_cast<uint8_t>(value);
}

// Clamped first, then rounded: the same as rounding and then saturating, as rounding is monotonic. Adding and
// removing 1.5 * 2^23 leaves a float of magnitude below 2^22 rounded to nearest in the default rounding mode,
// as the vector units' conversions do, without depending on the library's rounding functions.
inline float NearestSaturated(float value) {
  constexpr float kRoundingShift = 12582912.0f;
  value = value < 0.0f ? 0.0f : (value > 255.0f ? 255.0f : value);
  return (value + kRoundingShift) - kRoundingShift;
}

inline uint8_t NearestToByte(float value) { return static_cast<uint8_t>(NearestSaturated(value)); }

// Forward (RGB to 8-bit YUV) weights, full range.
inline constexpr float kLumaG = 0.587f, kLumaR = 0.299f, kLumaB = 0.114f;
inline constexpr float kUB = 0.436f, kUG = 0.289f, kUR = 0.147f;
inline constexpr float kVR = 0.615f, kVG = 0.515f, kVB = 0.1f;
// Inverse (8-bit YUV to RGB) weights.
inline constexpr float kRV = 1.14f, kGU = 0.395f, kGV = 0.581f, kBU = 2.032f;

inline uint8_t ReferenceLuma(int r, int g, int b) { return TruncateToByte(0.587 * g + 0.299 * r + 0.114 * b + 0.5); }
inline float RawU(float r, float g, float b) { return kUB * b - kUG * g - kUR * r; }
inline float RawV(float r, float g, float b) { return kVR * r - (kVG * g + kVB * b); }
// A chroma value with its reference offset, ready to be averaged or truncated.
inline float ReferenceU(int r, int g, int b) {
  return RawU(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)) + 128.5f;
}
inline float ReferenceV(int r, int g, int b) {
  return RawV(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)) + 128.5f;
}

struct Bgr8 {
  uint8_t b, g, r;
};

inline Bgr8 ReferenceInverse(int y, int u, int v) {
  const double du = u - 128, dv = v - 128;
  return Bgr8{TruncateToByte(y + 2.032 * du + 0.5), TruncateToByte(y - 0.395 * du - 0.581 * dv + 0.5),
              TruncateToByte(y + 1.14 * dv + 0.5)};
}

inline Bgr8 NearestInverse(float y, float u, float v) {
  const float du = u - 128.0f, dv = v - 128.0f;
  return Bgr8{NearestToByte(y + kBU * du), NearestToByte(y - kGU * du - kGV * dv), NearestToByte(y + kRV * dv)};
}

}  // namespace vidmetra
