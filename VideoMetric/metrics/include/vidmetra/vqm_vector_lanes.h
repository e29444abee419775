#pragma once
// What the VQM block steps share with their vectorised forms compiled in files of their own: the contrast factor
// and the AVX-512 steps, which may only run where the processor has that set (InitVqmLaneKernels chooses them).
#include "vidmetra/cpu_dispatch.h"
#include "vidmetra/vqm_lanes.h"

namespace vidmetra {

// The local contrast factor of a block with this DC coefficient, (DC / 1024)^0.65 / DC, and 0 for DC 0.
float VqmContrast(int16_t dc);
// The factor depends on the DC alone: those of 8-bit to 10-bit pictures, DCs 0 to kVqmTabulatedDcs − 1, are
// worked out once into this table.
constexpr int kVqmTabulatedDcs = 8192;
const float* VqmContrastTable();

#ifdef VIDMETRA_X86_KERNELS
void VqmCaptureLanesAvx512(const float* plane, int width, int count, int16_t* lanes);
void VqmCaptureByteLanesAvx512(const uint8_t* plane, int width, int count, int16_t* lanes);
VqmLaneStatistics VqmCompareLanesAvx512(const int16_t* a, const int16_t* b);
#endif

}  // namespace vidmetra
