// The lane sums of every tier: for 8-bit samples the very doubles of the references; for any float planes the
// float quotients the metrics report, through the certificate, the very floats of the row-by-row references.
#include <algorithm>
#include <cmath>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/blurring_metric.h"
#include "vidmetra/byte_differences.h"
#include "vidmetra/difference_lanes.h"
#include "vidmetra/difference_sum.h"
#include "vidmetra/squared_error.h"

namespace vidmetra {
namespace {

class DifferenceLanesCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitDifferenceLaneKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }

  // Bytes, or floats with fraction bits like those of converted R, G, B or L planes.
  std::vector<float> RandomPlane(size_t count, bool bytes) {
    std::vector<float> plane(count);
    for (float& value : plane) {
      value = bytes ? testing::RandomByte(random_) : static_cast<float>(random_() % 2550000) / 9999.0f - 3.0f;
    }
    return plane;
  }
};

double Reference(const float* a, const float* b, size_t count, bool absolute) {
  return absolute ? SumDifferences(a, b, count, nullptr, [](float d) { return std::fabs(d); })
                  : SumDifferences(a, b, count, nullptr, [](float d) { return d; });
}

TEST_P(DifferenceLanesCheck, DifferenceSumsMatchReference) {
  const DifferenceLaneKernels& kernels = ActiveDifferenceLaneKernels();
  std::vector<size_t> counts = {0, 1, 7, 8, 9, 15, 16, 17, 63, 1000, 4097};
  for (int n = 0; n < 30; ++n) counts.push_back(random_() % 100000);
  for (const size_t count : counts) {
    for (const bool bytes : {true, false}) {
      const size_t offset = testing::RandomOffset(random_, 7);
      const std::vector<float> a = RandomPlane(offset + count, bytes), b = RandomPlane(count, bytes);
      const float* at = a.data() + offset;
      const auto divisor = static_cast<double>(count == 0 ? 1 : count);
      for (const bool absolute : {true, false}) {
        const auto lanes = [&] { return absolute ? kernels.absolute(at, b.data(), count) : kernels.signed_(at, b.data(), count); };
        const double reference = Reference(at, b.data(), count, absolute);
        if (bytes) {
          EXPECT_EQ(lanes().sum, reference) << count << " " << absolute;
        }
        EXPECT_EQ(lanes().magnitude, Reference(at, b.data(), count, true)) << count;
        if (!absolute && count >= 8) {
          // Signed sums of bytes take the integer shortcut; fractional ones may not.
          EXPECT_EQ(lanes().integral, bytes) << count;
        }
        const float quotient = QuotientOfSum(count, divisor, lanes, [&] { return reference; });
        EXPECT_EQ(quotient, static_cast<float>(reference / divisor)) << count << " " << absolute << " " << bytes;
      }
      const float squares = QuotientOfSum(
          count, divisor,
          [&] {
            const double sum = SumSquaredError(at, b.data(), count);
            return LaneSum{sum, sum};
          },
          [&] { return SumSquaredErrorScalar(at, b.data(), count); });
      EXPECT_EQ(squares, static_cast<float>(SumSquaredErrorScalar(at, b.data(), count) / divisor)) << count;
    }
  }
}

TEST_P(DifferenceLanesCheck, GradientSumsMatchReference) {
  const DifferenceLaneKernels& kernels = ActiveDifferenceLaneKernels();
  for (int n = 0; n < 40; ++n) {
    const int width = n < 20 ? n : static_cast<int>(2 + random_() % 700);
    const int height = n < 20 ? 3 + n % 3 : static_cast<int>(2 + random_() % 300);
    for (const bool bytes : {true, false}) {
      const std::vector<float> plane = RandomPlane(static_cast<size_t>(width) * static_cast<size_t>(height), bytes);
      const double reference = SumOfGradients(plane.data(), width, height);
      const LaneSum lanes = kernels.gradients(plane.data(), width, height);
      if (bytes) {
        EXPECT_EQ(lanes.sum, reference) << width << "x" << height;
        // The planes that stay bytes: exact integer sums, through the byte kernels of this tier and the scalar ones.
        const std::vector<uint8_t> samples(plane.begin(), plane.end());
        for (const auto absolute : {ActiveByteDifferenceKernels().absolute, SumAbsoluteByteDifferencesScalar}) {
          EXPECT_EQ(static_cast<double>(SumByteGradients(samples.data(), width, height, absolute)), reference)
              << width << "x" << height;
        }
      }
      const size_t terms = static_cast<size_t>(std::max(width - 2, 0)) * static_cast<size_t>(std::max(height - 2, 0));
      const double divisor = terms == 0 ? 1.0 : static_cast<double>(terms);
      EXPECT_EQ(QuotientOfSum(terms, divisor, [&] { return lanes; }, [&] { return reference; }),
                static_cast<float>(reference / divisor))
          << width << "x" << height;
    }
  }
}

VIDMETRA_TIER_CHECK(DifferenceLanesCheck);

// The certificate itself, on a sum whose lane order and row order really differ: a term 1 and a run of 2^20 tiny
// ones (2^-54 each) that the row-by-row sum loses one by one and lanes could keep together.
TEST(LaneSumQuotient, RefusesWhenTheOrdersCouldRoundApart) {
  // Row by row: 1 + tiny + tiny + ... stays 1. A sum that kept the tiny terms would be 1 + 2^20 · 2^-54.
  const size_t terms = (size_t{1} << 20) + 1;
  const double lanes = 1.0 + std::ldexp(1.0, -34);
  // A divisor that puts the exact quotient of 1 just on a float's rounding boundary: the two sums round apart.
  const double boundary = 1.0 + std::ldexp(1.0, -24);  // halfway between the floats 1 and 1 + 2^-23
  EXPECT_FALSE(CertainQuotient(lanes, lanes, terms, 1.0 / boundary).has_value());
  // Far from any boundary both give the same float, and the certificate says so.
  EXPECT_EQ(CertainQuotient(lanes, lanes, terms, 3.0), static_cast<float>(1.0 / 3.0));
  EXPECT_EQ(CertainQuotient(0.0, 0.0, 0, 1.0), 0.0f);
  EXPECT_FALSE(CertainQuotient(std::nan(""), 1.0, 4, 1.0).has_value());
  EXPECT_FALSE(CertainQuotient(1.0, 1.0, 4, 0.0).has_value());
  // A signed sum near zero whose bound straddles it: −0 or +0 could come out, so it is not certain.
  EXPECT_FALSE(CertainQuotient(0.0, 1e6, 1000, 1.0).has_value());
}

}  // namespace
}  // namespace vidmetra
