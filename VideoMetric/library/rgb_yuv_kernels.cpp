#include "vidmetra/rgb_yuv_kernels.h"

namespace vidmetra {

const RgbYuvKernels& ActiveRgbYuvKernels() {
  // Probed on first use and never changed afterwards, so every frame of a run converts alike.
  static const RgbYuvKernels& active = VectorKernelsSupported() ? VectorRgbYuvKernels() : ScalarRgbYuvKernels();
  return active;
}

}  // namespace vidmetra
