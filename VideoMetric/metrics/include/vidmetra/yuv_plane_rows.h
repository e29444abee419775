#pragma once
// One float plane of a colour component computed straight from the rows of an 8-bit planar YUV frame, without a
// 4:4:4 byte copy and without the planes the component does not need: the same floats as filling Y, U and V and
// converting them (plane_colour.h).
#include <cstdint>

namespace vidmetra {

// One picture row: its Y samples and the chroma row that covers it, with either one chroma sample per pixel or
// one per pixel pair (4:2:0, where an odd width's second-to-last pixel takes the last chroma sample, as
// ChromaIndex420 says).
struct YuvSourceRow {
  const uint8_t* y;
  const uint8_t* u;
  const uint8_t* v;
  int width;
  bool halved;
};

// Centred chroma (byte − 128) of one pixel row; `chroma` is the row's U or V.
void ChromaRowScalar(const uint8_t* chroma, int width, bool halved, float* out);
// The raw chroma bytes of one pixel row, one per pixel (centred chroma + 128).
void ChromaBytesRowScalar(const uint8_t* chroma, int width, bool halved, uint8_t* out);
// R, G or B (kComponentR, G, B) of one pixel row under a known matrix.
void RgbRowScalar(const YuvSourceRow& row, int component, int matrix, float* out);

struct YuvPlaneRowKernels {
  void (*chroma)(const uint8_t* chroma, int width, bool halved, float* out);
  void (*chroma_bytes)(const uint8_t* chroma, int width, bool halved, uint8_t* out);
  void (*rgb)(const YuvSourceRow& row, int component, int matrix, float* out);
};
// The references, replaced by the vectorised rows of each tier the flags allow.
void InitYuvPlaneRowKernels(YuvPlaneRowKernels& kernels, unsigned flags);
const YuvPlaneRowKernels& ActiveYuvPlaneRowKernels();

}  // namespace vidmetra
