#include "vidmetra/ssim_index_sum.h"

#include <cmath>

namespace vidmetra {

void SsimIndexSum::Add(float index) {
  const float magnitude = std::fabs(index);
  if (!(magnitude <= kLargest)) {
    special_ += index;
    return;
  }
  if (magnitude >= kFineLimit) {
    fine_ += static_cast<int64_t>(index * kFineScale);
    return;
  }
  int level = 1;
  for (double limit = std::ldexp(kFineLimit, -kLevelStep); level < kLevels && magnitude < limit; ++level) {
    limit = std::ldexp(limit, -kLevelStep);
  }
  finer_[static_cast<size_t>(level - 1)] +=
      static_cast<int64_t>(std::ldexp(static_cast<double>(index), kFineExponent + kLevelStep * level));
}

void SsimIndexSum::Add(const SsimIndexSum& other) {
  fine_ += other.fine_;
  for (size_t level = 0; level < finer_.size(); ++level) finer_[level] += other.finer_[level];
  special_ += other.special_;
}

double SsimIndexSum::Value() const {
  double value = 0.0;
  for (int level = kLevels; level >= 1; --level) {
    value += std::ldexp(static_cast<double>(finer_[static_cast<size_t>(level - 1)]),
                        -(kFineExponent + kLevelStep * level));
  }
  return value + std::ldexp(static_cast<double>(fine_), -kFineExponent) + special_;
}

}  // namespace vidmetra
