// The reference row kernels: one pixel at a time, exactly the rounding and precision of the 8-bit conversions.
#include <algorithm>
#include <cstddef>

#include "vidmetra/colour_formulas.h"
#include "vidmetra/rgb_yuv_kernels.h"

namespace vidmetra {
namespace {

struct Pixel {
  int b, g, r;
};

Pixel PixelAt(const uint8_t* bgr, int step, int x) {
  const uint8_t* p = bgr + static_cast<ptrdiff_t>(x) * step;
  return Pixel{p[0], p[1], p[2]};
}

uint8_t Luma(Pixel p) { return ReferenceLuma(p.r, p.g, p.b); }
float U(Pixel p) { return ReferenceU(p.r, p.g, p.b); }
float V(Pixel p) { return ReferenceV(p.r, p.g, p.b); }

void RgbToYuv(const uint8_t* bgr, int step, uint8_t* y, uint8_t* u, uint8_t* v, int width) {
  for (int x = 0; x < width; ++x) {
    const Pixel p = PixelAt(bgr, step, x);
    y[x] = Luma(p);
    u[x] = TruncateToByte(U(p));
    v[x] = TruncateToByte(V(p));
  }
}

void RgbToY(const uint8_t* bgr, int step, uint8_t* y, int width) {
  for (int x = 0; x < width; ++x) y[x] = Luma(PixelAt(bgr, step, x));
}

void Rgb24ToYuy2(const uint8_t* bgr, uint8_t* yuy2, int width) {
  int x = 0;
  for (; x + 1 < width; x += 2) {
    const Pixel p0 = PixelAt(bgr, 3, x), p1 = PixelAt(bgr, 3, x + 1);
    uint8_t* out = yuy2 + 2 * x;
    out[0] = Luma(p0);
    out[1] = TruncateToByte((U(p0) + U(p1)) * 0.5f);
    out[2] = Luma(p1);
    out[3] = TruncateToByte((V(p0) + V(p1)) * 0.5f);
  }
  if (x < width) {
    const Pixel p = PixelAt(bgr, 3, x);
    yuy2[2 * x] = Luma(p);
    yuy2[2 * x + 1] = TruncateToByte(U(p));
  }
}

void Rgb24To420(const uint8_t* bgr_top, const uint8_t* bgr_bottom, uint8_t* y_top, uint8_t* y_bottom, uint8_t* u,
                uint8_t* v, int width) {
  for (int block = 0; block < (width + 1) / 2; ++block) {
    int x0 = 2 * block;
    if (x0 + 1 >= width) x0 = std::max(width - 2, 0);  // the last block of an odd width shifts left
    const int x1 = std::min(x0 + 1, width - 1);
    const Pixel p00 = PixelAt(bgr_top, 3, x0), p01 = PixelAt(bgr_top, 3, x1);
    const Pixel p10 = PixelAt(bgr_bottom, 3, x0), p11 = PixelAt(bgr_bottom, 3, x1);
    y_top[x0] = Luma(p00);
    y_top[x1] = Luma(p01);
    y_bottom[x0] = Luma(p10);
    y_bottom[x1] = Luma(p11);
    u[block] = TruncateToByte((U(p00) + U(p01) + U(p10) + U(p11)) * 0.25f);
    v[block] = TruncateToByte((V(p00) + V(p01) + V(p10) + V(p11)) * 0.25f);
  }
}

void StoreBgr(uint8_t* bgr, int step, int x, Bgr8 colour) {
  uint8_t* p = bgr + static_cast<ptrdiff_t>(x) * step;
  p[0] = colour.b;
  p[1] = colour.g;
  p[2] = colour.r;
  if (step == 4) p[3] = 0;
}

void YuvToRgb(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* bgr, int step, int width) {
  for (int x = 0; x < width; ++x) StoreBgr(bgr, step, x, ReferenceInverse(y[x], u[x], v[x]));
}

void Yuy2ToRgb24(const uint8_t* yuy2, uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x) {
    const uint8_t* pair = yuy2 + 4 * (x / 2);
    StoreBgr(bgr, 3, x, ReferenceInverse(yuy2[2 * x], pair[1], pair[3]));
  }
}

void Yuv420ToRgb24(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x) {
    const int c = ChromaIndex420(x, width);
    StoreBgr(bgr, 3, x, ReferenceInverse(y[x], u[c], v[c]));
  }
}

void YToRgb32(const uint8_t* y, uint8_t* bgrx, int width) {
  for (int x = 0; x < width; ++x) bgrx[4 * x] = bgrx[4 * x + 1] = bgrx[4 * x + 2] = y[x];
}

void Rgb32ToRgb24(const uint8_t* bgrx, uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x) {
    for (int c = 0; c < 3; ++c) bgr[3 * x + c] = bgrx[4 * x + c];
  }
}

void Rgb24ToRgb32(const uint8_t* bgr, uint8_t* bgrx, int width) {
  for (int x = 0; x < width; ++x) {
    for (int c = 0; c < 3; ++c) bgrx[4 * x + c] = bgr[3 * x + c];
    bgrx[4 * x + 3] = 0;
  }
}

}  // namespace

const RgbYuvKernels& ScalarRgbYuvKernels() {
  static const RgbYuvKernels kernels{RgbToYuv,    RgbToY,        Rgb24ToYuy2, Rgb24To420,   YuvToRgb,
                                     Yuy2ToRgb24, Yuv420ToRgb24, YToRgb32,    Rgb32ToRgb24, Rgb24ToRgb32};
  return kernels;
}

}  // namespace vidmetra
