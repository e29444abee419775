#pragma once
// Row kernels of the conversions that involve packed RGB. Each exists as a scalar reference and as a
// vectorised variant. The vectorised variants work through whole groups of 16 pixels, so every row they are
// given must have room (readable source bytes, writable target bytes) for `width` rounded up to 16 pixels, as the
// rows of a frame always do; the target bytes beyond `width` are left with unspecified values.
// B, G, R pixels are `step` bytes apart: 3 for RGB24, 4 for RGB32.
#include <cstdint>

#include "vidmetra/cpu_dispatch.h"

namespace vidmetra {

struct RgbYuvKernels {
  // Full-resolution YUV from B, G, R.
  void (*rgb_to_yuv)(const uint8_t* bgr, int step, uint8_t* y, uint8_t* u, uint8_t* v, int width);
  void (*rgb_to_y)(const uint8_t* bgr, int step, uint8_t* y, int width);
  // Y0 U Y1 V pairs; an odd last pixel gets its luma and its own U.
  void (*rgb24_to_yuy2)(const uint8_t* bgr, uint8_t* yuy2, int width);
  // Two picture rows to two luma rows and one row of 2 x 2 averaged chroma; with an odd width the last block
  // covers the last two columns.
  void (*rgb24_to_420)(const uint8_t* bgr_top, const uint8_t* bgr_bottom, uint8_t* y_top, uint8_t* y_bottom,
                       uint8_t* u, uint8_t* v, int width);
  // Inverse conversions; `u` and `v` hold one sample per pixel. An RGB32 target gets 0 in the fourth byte.
  void (*yuv_to_rgb)(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* bgr, int step, int width);
  void (*yuy2_to_rgb24)(const uint8_t* yuy2, uint8_t* bgr, int width);
  // `u` and `v` are chroma rows of a 4:2:0 picture (the last sample also covers the last two columns of an odd
  // width).
  void (*yuv420_to_rgb24)(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* bgr, int width);
  // B = G = R = Y; the fourth byte is not written.
  void (*y_to_rgb32)(const uint8_t* y, uint8_t* bgrx, int width);
  void (*rgb32_to_rgb24)(const uint8_t* bgrx, uint8_t* bgr, int width);
  // The fourth byte is 0.
  void (*rgb24_to_rgb32)(const uint8_t* bgr, uint8_t* bgrx, int width);
};

const RgbYuvKernels& ScalarRgbYuvKernels();
#ifdef VIDMETRA_X86_KERNELS
const RgbYuvKernels& Avx2RgbYuvKernels();
#endif
// The scalar set, replaced by the vectorised one where the flags allow it.
void InitRgbYuvKernels(RgbYuvKernels& kernels, unsigned flags);
// The set the frame conversions use, for the current CPU flags.
const RgbYuvKernels& ActiveRgbYuvKernels();

// Index of the 4:2:0 chroma sample that covers pixel `x` of a row `width` pixels wide (also for rows).
inline int ChromaIndex420(int x, int width) { return (width % 2 != 0 && x == width - 2) ? x / 2 + 1 : x / 2; }

}  // namespace vidmetra
