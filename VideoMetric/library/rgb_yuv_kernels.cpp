#include "vidmetra/rgb_yuv_kernels.h"

namespace vidmetra {

void InitRgbYuvKernels(RgbYuvKernels& kernels, [[maybe_unused]] unsigned flags) {
  kernels = ScalarRgbYuvKernels();
#ifdef VIDMETRA_X86_KERNELS
  if ((flags & kCpuAvx2) != 0) kernels = Avx2RgbYuvKernels();
#endif
}

const RgbYuvKernels& ActiveRgbYuvKernels() { return ActiveKernels<RgbYuvKernels, InitRgbYuvKernels>(); }

}  // namespace vidmetra
