#pragma once
// L of the LUV colour space from luma: LightnessOf(RelativeLuminance(luma)) (plane_colour.h) for a run of luma
// values. The vectorised variants compute the power in double precision from a logarithm and an exponential of
// their own, accurate to far better than a float of L needs, and keep a result only where every double the
// reference's pow could give rounds to the same float; the few others go through the reference.
#include <cstddef>

namespace vidmetra {

void LightnessOfLumaScalar(const double* luma, size_t count, float* out);

struct LightnessKernels {
  void (*of_luma)(const double* luma, size_t count, float* out);
};
// The reference, replaced by the vectorised variant of each tier the flags allow.
void InitLightnessKernels(LightnessKernels& kernels, unsigned flags);
const LightnessKernels& ActiveLightnessKernels();

// Takes luma values one by one and writes their L to consecutive floats, a stretch at a time through the active
// kernel. Flush() after the last value.
class LightnessWriter {
 public:
  explicit LightnessWriter(float* out) : out_(out) {}
  void Add(double luma) {
    luma_[filled_++] = luma;
    if (filled_ == kStretch) Flush();
  }
  void Flush() {
    ActiveLightnessKernels().of_luma(luma_, filled_, out_);
    out_ += filled_;
    filled_ = 0;
  }

 private:
  static constexpr size_t kStretch = 256;
  double luma_[kStretch];
  size_t filled_ = 0;
  float* out_;
};

}  // namespace vidmetra
