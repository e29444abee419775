#pragma once
// The sum of SSIM window indices, formed exactly: every index is added as a whole number of fixed-point units,
// so the sum does not depend on the order of the additions. A frame measured in any number of bands, by any
// kernel, on any number of threads, gets the same sum and so the same value.
#include <array>
#include <cstdint>

namespace vidmetra {

class SsimIndexSum {
 public:
  // An index of at least kFineLimit in magnitude, times kFineScale, is a whole number: single precision keeps
  // 24 significant bits, none of them below 2^-36 at that size.
  static constexpr float kFineLimit = 0x1p-13f;
  static constexpr float kFineScale = 0x1p36f;

  void Add(float index);
  // The sum of indices each at least kFineLimit and at most 1 in magnitude, times kFineScale. The sums of up to
  // 2^26 indices fit.
  void AddFine(int64_t units) { fine_ += units; }
  void Add(const SsimIndexSum& other);
  // The sum rounded to double precision.
  double Value() const;

 private:
  // Smaller indices, each level twelve binary orders of magnitude below the one above it, in units fine enough
  // to hold them whole; the last level takes everything smaller down to the subnormal numbers.
  static constexpr int kLevels = 12;
  static constexpr int kLevelStep = 12;
  static constexpr int kFineExponent = 36;

  int64_t fine_ = 0;
  std::array<int64_t, kLevels> finer_{};
  // No window of a real picture scores beyond 1 in magnitude. Larger indices, infinities and NaN, which only
  // absurd sample values give, are summed in double precision apart.
  static constexpr float kLargest = 2.0f;
  double special_ = 0.0;
};

}  // namespace vidmetra
