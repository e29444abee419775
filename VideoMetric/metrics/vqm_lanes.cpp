#include "vidmetra/vqm_lanes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "vidmetra/vqm_vector_lanes.h"

namespace vidmetra {
namespace {

// Coarser for higher frequencies, where the eye forgives more. Row 1 column 3 and row 2 column 5 break the
// symmetry on purpose.
constexpr int16_t kWeights[64] = {
    8,  16, 19, 22, 26, 27, 29, 34,  //
    16, 16, 22, 21, 27, 29, 34, 37,  //
    19, 22, 26, 27, 29, 31, 34, 38,  //
    22, 22, 26, 27, 29, 34, 37, 40,  //
    22, 26, 27, 29, 32, 35, 40, 48,  //
    26, 27, 29, 32, 35, 40, 48, 58,  //
    26, 27, 29, 34, 38, 46, 56, 69,  //
    27, 29, 35, 38, 46, 56, 69, 83,
};

// 0.65 as single precision holds it.
constexpr double kContrastExponent = 0.6499999761581421;
constexpr float kContrastReference = 0.0009765625f;  // 1/1024
constexpr float kBlockMeanFactor = 0.015625f;        // 1/64

// Local contrast: a block is judged relative to its own brightness.
float ContrastFactor(float dc) {
  return dc == 0.0f
             ? 0.0f
             : static_cast<float>(std::pow(static_cast<double>(dc * kContrastReference), kContrastExponent) / dc);
}


// The vectorised steps are written once on generic vectors of one float or word per lane and compiled for each
// instruction set in its own entry point. Every helper taking or returning a vector is inlined into those, so no
// vector crosses a call and the calling convention the compiler warns about never applies.
#pragma GCC diagnostic ignored "-Wpsabi"
using Floats = float __attribute__((vector_size(sizeof(float) * kDctLanes)));
using Ints = int32_t __attribute__((vector_size(sizeof(int32_t) * kDctLanes)));
using Words = int16_t __attribute__((vector_size(sizeof(int16_t) * kDctLanes)));
static_assert(kDctLanes == 8, "the capture transposes 8 × 8 samples");

#define VIDMETRA_LANES_INLINE [[gnu::always_inline]] inline

VIDMETRA_LANES_INLINE Floats Splat(float value) { return Floats{} + value; }

// VqmCaptureSample on one block row: inside the 16-bit range saturating changes nothing truncation would not.
VIDMETRA_LANES_INLINE Words CaptureRow(const float* samples) {
  Floats x;
  std::memcpy(&x, samples, sizeof x);
  x = x > Splat(32767.0f) ? Splat(32767.0f) : x;
  x = x < Splat(-32768.0f) ? Splat(-32768.0f) : x;
  x = x == x ? x : Floats{};  // NaN
  return __builtin_convertvector(__builtin_convertvector(x, Ints), Words);
}

// Bytes are in range and whole already.
VIDMETRA_LANES_INLINE Words CaptureRow(const uint8_t* samples) {
  using Bytes = uint8_t __attribute__((vector_size(kDctLanes)));
  Bytes x;
  std::memcpy(&x, samples, sizeof x);
  return __builtin_convertvector(x, Words);
}

// Eight block rows into eight sample positions across the blocks, by zipping words, then pairs, then quadruples.
VIDMETRA_LANES_INLINE void Transpose(const Words* rows, Words* columns) {
  Words pairs[8], quadruples[8];
  for (int p = 0; p < 4; ++p) {
    pairs[2 * p] = __builtin_shufflevector(rows[2 * p], rows[2 * p + 1], 0, 8, 1, 9, 2, 10, 3, 11);
    pairs[2 * p + 1] = __builtin_shufflevector(rows[2 * p], rows[2 * p + 1], 4, 12, 5, 13, 6, 14, 7, 15);
  }
  for (int q = 0; q < 2; ++q) {
    for (int h = 0; h < 2; ++h) {
      const Words& upper = pairs[4 * q + h];
      const Words& lower = pairs[4 * q + 2 + h];
      quadruples[4 * q + 2 * h] = __builtin_shufflevector(upper, lower, 0, 1, 8, 9, 2, 3, 10, 11);
      quadruples[4 * q + 2 * h + 1] = __builtin_shufflevector(upper, lower, 4, 5, 12, 13, 6, 7, 14, 15);
    }
  }
  for (int k = 0; k < 4; ++k) {
    columns[2 * k] = __builtin_shufflevector(quadruples[k], quadruples[4 + k], 0, 1, 2, 3, 8, 9, 10, 11);
    columns[2 * k + 1] = __builtin_shufflevector(quadruples[k], quadruples[4 + k], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

template <typename Sample>
VIDMETRA_LANES_INLINE void CaptureLanes(const Sample* plane, int width, int count, int16_t* lanes) {
  for (int y = 0; y < 8; ++y) {
    const Sample* row = plane + static_cast<ptrdiff_t>(y) * width;
    Words blocks[kDctLanes];
    for (int j = 0; j < kDctLanes; ++j) blocks[j] = j < count ? CaptureRow(row + 8 * j) : Words{};
    Words columns[8];
    Transpose(blocks, columns);
    std::memcpy(lanes + kDctLanes * 8 * y, columns, sizeof columns);
  }
}

VIDMETRA_LANES_INLINE Floats Widen(const int16_t* lanes) {
  Words words;
  std::memcpy(&words, lanes, sizeof words);
  return __builtin_convertvector(words, Floats);
}

// fabs by its definition, clearing the sign bit alone (of a NaN too).
VIDMETRA_LANES_INLINE Floats Magnitude(const Floats& x) { return (Floats)((Ints)x & 0x7FFFFFFF); }

VIDMETRA_LANES_INLINE VqmLaneStatistics CompareLanes(const int16_t* a, const int16_t* b) {
  Floats contrast_a, contrast_b;
  for (int j = 0; j < kDctLanes; ++j) {
    contrast_a[j] = VqmContrast(a[j]);
    contrast_b[j] = VqmContrast(b[j]);
  }
  Floats sum{}, maximum{};
  for (int i = 0; i < 64; ++i) {
    const Floats weight = Splat(kWeights[i]);
    const Floats weighted_a = Widen(a + kDctLanes * i) * contrast_a / weight;
    const Floats weighted_b = Widen(b + kDctLanes * i) * contrast_b / weight;
    const Floats difference = Magnitude(weighted_a - weighted_b);
    sum += difference;
    maximum = maximum < difference ? difference : maximum;  // std::max's choice
  }
  VqmLaneStatistics statistics;
  const Floats mean = sum * kBlockMeanFactor;
  std::memcpy(statistics.mean, &mean, sizeof mean);
  std::memcpy(statistics.maximum, &maximum, sizeof maximum);
  return statistics;
}

#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
// Compiled for the architecture's baseline: SSE2 on x86-64, NEON on ARM.
void CaptureLanesBaseline(const float* plane, int width, int count, int16_t* lanes) {
  CaptureLanes(plane, width, count, lanes);
}
void CaptureByteLanesBaseline(const uint8_t* plane, int width, int count, int16_t* lanes) {
  CaptureLanes(plane, width, count, lanes);
}
VqmLaneStatistics CompareLanesBaseline(const int16_t* a, const int16_t* b) { return CompareLanes(a, b); }
#endif

#ifdef VIDMETRA_X86_KERNELS
__attribute__((target("avx2"))) void CaptureLanesAvx2(const float* plane, int width, int count, int16_t* lanes) {
  CaptureLanes(plane, width, count, lanes);
}
__attribute__((target("avx2"))) void CaptureByteLanesAvx2(const uint8_t* plane, int width, int count,
                                                          int16_t* lanes) {
  CaptureLanes(plane, width, count, lanes);
}
__attribute__((target("avx2"))) VqmLaneStatistics CompareLanesAvx2(const int16_t* a, const int16_t* b) {
  return CompareLanes(a, b);
}
#endif

}  // namespace

int16_t VqmWeight(int index) { return kWeights[index]; }

const float* VqmContrastTable() {
  static const std::vector<float> table = [] {
    std::vector<float> factors(kVqmTabulatedDcs);
    for (int i = 0; i < kVqmTabulatedDcs; ++i) factors[static_cast<size_t>(i)] = ContrastFactor(static_cast<float>(i));
    return factors;
  }();
  return table.data();
}

float VqmContrast(int16_t dc) {
  return dc >= 0 && dc < kVqmTabulatedDcs ? VqmContrastTable()[dc] : ContrastFactor(dc);
}

int16_t VqmCaptureSample(float sample) {
  if (!(sample > -32769.0f && sample < 32768.0f)) return sample > 0.0f ? 32767 : (sample < 0.0f ? -32768 : 0);
  return static_cast<int16_t>(sample);
}

namespace {

// A byte widens to its float exactly, so one body serves both sample types.
template <typename Sample>
void CaptureLanesScalar(const Sample* plane, int width, int count, int16_t* lanes) {
  for (int y = 0; y < 8; ++y) {
    const Sample* row = plane + static_cast<ptrdiff_t>(y) * width;
    for (int x = 0; x < 8; ++x) {
      int16_t* samples = lanes + kDctLanes * (8 * y + x);
      for (int j = 0; j < kDctLanes; ++j) {
        samples[j] = j < count ? VqmCaptureSample(static_cast<float>(row[8 * j + x])) : int16_t{0};
      }
    }
  }
}

}  // namespace

void VqmCaptureLanesScalar(const float* plane, int width, int count, int16_t* lanes) {
  CaptureLanesScalar(plane, width, count, lanes);
}

void VqmCaptureLanesScalar(const uint8_t* plane, int width, int count, int16_t* lanes) {
  CaptureLanesScalar(plane, width, count, lanes);
}

VqmBlockStatistics VqmCompareBlock(const int16_t* a, const int16_t* b) {
  const int16_t* blocks[2] = {a, b};
  float weighted[2][64];
  for (int n = 0; n < 2; ++n) {
    const float contrast = ContrastFactor(blocks[n][0]);
    for (int i = 0; i < 64; ++i) weighted[n][i] = static_cast<float>(blocks[n][i]) * contrast / kWeights[i];
  }
  float sum = 0.0f;
  float maximum = 0.0f;
  for (int i = 0; i < 64; ++i) {
    const float difference = std::fabs(weighted[0][i] - weighted[1][i]);
    sum += difference;
    maximum = std::max(maximum, difference);
  }
  return {sum * kBlockMeanFactor, maximum};
}

VqmLaneStatistics VqmCompareLanesScalar(const int16_t* a, const int16_t* b) {
  VqmLaneStatistics statistics;
  int16_t blocks[2][64];
  for (int j = 0; j < kDctLanes; ++j) {
    for (int i = 0; i < 64; ++i) {
      blocks[0][i] = a[kDctLanes * i + j];
      blocks[1][i] = b[kDctLanes * i + j];
    }
    const VqmBlockStatistics block = VqmCompareBlock(blocks[0], blocks[1]);
    statistics.mean[j] = block.mean;
    statistics.maximum[j] = block.maximum;
  }
  return statistics;
}

void InitVqmLaneKernels(VqmLaneKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = {VqmCaptureLanesScalar, VqmCaptureLanesScalar, VqmCompareLanesScalar};
#if defined(VIDMETRA_X86_KERNELS) || defined(VIDMETRA_ARM_KERNELS)
  if ((flags & (kCpuSse2 | kCpuNeon)) != 0) {
    kernels = {CaptureLanesBaseline, CaptureByteLanesBaseline, CompareLanesBaseline};
  }
#endif
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels = {CaptureLanesAvx2, CaptureByteLanesAvx2, CompareLanesAvx2};
  if ((flags & kCpuAvx512) != 0) {
    kernels = {VqmCaptureLanesAvx512, VqmCaptureByteLanesAvx512, VqmCompareLanesAvx512};
  }
#endif
}

const VqmLaneKernels& ActiveVqmLaneKernels() { return ActiveKernels<VqmLaneKernels, InitVqmLaneKernels>(); }

}  // namespace vidmetra
