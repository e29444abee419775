#pragma once
// The evaluations along one block boundary of the blocking measure. The terms of every line crossing the
// boundary are read first (BoundaryLines); each position then combines the two or three lines of its block
// span. The vectorised kernels evaluate the eight positions of a block span at once, with the operations of
// the reference in the same order on each position, so the same values.
#include <cstddef>
#include <cstdint>

namespace vidmetra {

// Truncation toward zero; values no int can hold (only from corrupt planes) count as 0 rather than undefined.
inline int TruncateToInt(double value) {
  return value > -2147483648.0 && value < 2147483648.0 ? static_cast<int>(value) : 0;
}

// The terms of lines 0 … length − 1 across a boundary, one array each: the truncated differences D0, D1, D2
// and the samples s(0), s(1) on either side of it.
struct BoundaryLines {
  int32_t* d0;
  int32_t* d1;
  int32_t* d2;
  float* s0;
  float* s1;
};

// The terms of line k, whose sample s(0) is at `s0`, `across` being the step from s(0) to s(1). Samples are
// floats or bytes, which widen to their floats exactly.
template <typename Sample>
inline void ReadBoundaryLine(const Sample* s0, ptrdiff_t across, const BoundaryLines& lines, int k) {
  const auto at = static_cast<float>(s0[0]);
  const auto before = static_cast<float>(s0[-across]);
  const auto s1 = static_cast<float>(s0[across]);
  const auto after = static_cast<float>(s0[2 * across]);
  lines.d0[k] = TruncateToInt(before - at);
  lines.d1[k] = TruncateToInt(at - s1);
  lines.d2[k] = TruncateToInt(s1 - after);
  lines.s0[k] = at;
  lines.s1[k] = s1;
}

// ReadBoundaryLine for lines 0 … length − 1 side by side, line k's s(0) at s0 + k.
void ReadAdjacentLinesScalar(const float* s0, ptrdiff_t across, int length, const BoundaryLines& lines);
void ReadAdjacentLinesScalar(const uint8_t* s0, ptrdiff_t across, int length, const BoundaryLines& lines);
// ReadBoundaryLine for lines 0 … length − 1 whose samples lie side by side (across = 1), line k's s(0) at
// s0 + k · along: the rows crossing a vertical boundary.
void ReadStackedLinesScalar(const float* s0, ptrdiff_t along, int length, const BoundaryLines& lines);
void ReadStackedLinesScalar(const uint8_t* s0, ptrdiff_t along, int length, const BoundaryLines& lines);

// One position on lines first … first + kLines − 1 (2 or 3); −1 marks a real edge.
template <int kLines>
double EvaluateBoundaryPosition(const BoundaryLines& lines, int first, int edge_threshold, bool limited);

// Every position i of a boundary `length` lines long, truncated: values[i]. Position i lies in a block span
// of eight; at phase i mod 8 = 0 it takes lines i, i + 1, at 7 lines i − 1, i, otherwise i − 1 … i + 1, and its
// result is limited to 255 when `limit_inner` is set and the phase is not 7.
void EvaluateBoundaryScalar(const BoundaryLines& lines, int length, bool limit_inner, int edge_threshold,
                            int32_t* values);

// The pooled evaluations of one boundary: how many are neither 0 nor a real edge (−1), and their total.
struct BoundaryPool {
  int64_t total = 0;
  int32_t count = 0;
};
BoundaryPool PoolValuesScalar(const int32_t* values, int length);

struct BlockingLaneKernels {
  void (*read_adjacent)(const float* s0, ptrdiff_t across, int length, const BoundaryLines& lines);
  void (*read_adjacent_bytes)(const uint8_t* s0, ptrdiff_t across, int length, const BoundaryLines& lines);
  void (*read_stacked)(const float* s0, ptrdiff_t along, int length, const BoundaryLines& lines);
  void (*read_stacked_bytes)(const uint8_t* s0, ptrdiff_t along, int length, const BoundaryLines& lines);
  void (*evaluate)(const BoundaryLines& lines, int length, bool limit_inner, int edge_threshold, int32_t* values);
  BoundaryPool (*pool)(const int32_t* values, int length);

  // The readers of the plane's sample type.
  void ReadAdjacent(const float* s0, ptrdiff_t across, int length, const BoundaryLines& lines) const {
    read_adjacent(s0, across, length, lines);
  }
  void ReadAdjacent(const uint8_t* s0, ptrdiff_t across, int length, const BoundaryLines& lines) const {
    read_adjacent_bytes(s0, across, length, lines);
  }
  void ReadStacked(const float* s0, ptrdiff_t along, int length, const BoundaryLines& lines) const {
    read_stacked(s0, along, length, lines);
  }
  void ReadStacked(const uint8_t* s0, ptrdiff_t along, int length, const BoundaryLines& lines) const {
    read_stacked_bytes(s0, along, length, lines);
  }
};
// The references, replaced by the vectorised steps of each tier the flags allow.
void InitBlockingLaneKernels(BlockingLaneKernels& kernels, unsigned flags);
const BlockingLaneKernels& ActiveBlockingLaneKernels();

}  // namespace vidmetra
