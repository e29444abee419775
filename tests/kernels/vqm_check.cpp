// The VQM block steps of every tier against the references, bit for bit.
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/vqm_lanes.h"

namespace vidmetra {
namespace {

using Lanes = std::array<int16_t, 64 * kDctLanes>;

// Eight blocks wide plus some spare columns, so that a capture reading past its blocks would show.
constexpr int kWidth = 8 * kDctLanes + 8;

// kWidth × 8 samples.
std::vector<float> RandomPicture(std::mt19937& random) {
  const float specials[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), 32767.5f, 32767.0f, 32768.0f, -32768.0f,
                            -32768.9f, -32769.0f, 1e30f, -1e30f, -0.0f, 0.4f, -0.7f};
  std::uniform_real_distribution<float> anything(-40000.0f, 40000.0f);
  std::vector<float> picture(static_cast<size_t>(kWidth) * 8);
  for (float& sample : picture) {
    switch (random() % 4) {
      case 0: sample = specials[random() % std::size(specials)]; break;
      case 1: sample = anything(random); break;
      default: sample = static_cast<float>(random() % 256) + static_cast<float>(random() % 4) * 0.25f;
    }
  }
  return picture;
}

TEST(VqmLanes, CaptureSaturatesTruncatesAndZeroesNaN) {
  EXPECT_EQ(VqmCaptureSample(12.9f), 12);
  EXPECT_EQ(VqmCaptureSample(-12.9f), -12);
  EXPECT_EQ(VqmCaptureSample(40000.0f), 32767);
  EXPECT_EQ(VqmCaptureSample(-32768.9f), -32768);
  EXPECT_EQ(VqmCaptureSample(-std::numeric_limits<float>::infinity()), -32768);
  EXPECT_EQ(VqmCaptureSample(std::numeric_limits<float>::quiet_NaN()), 0);
}

// Captures from pictures of kWidth samples at random starts (all but the first row unaligned then).
void ExpectCaptureMatchesReference(const VqmLaneKernels& kernels, std::mt19937& random) {
  for (int n = 0; n < 300; ++n) {
    const std::vector<float> samples = RandomPicture(random);
    const size_t offset = testing::RandomOffset(random, 7);
    std::vector<float> picture(offset);
    picture.insert(picture.end(), samples.begin(), samples.end());
    const int count = 1 + n % kDctLanes;
    Lanes expected;
    VqmCaptureLanesScalar(picture.data() + offset, kWidth, count, expected.data());
    Lanes actual;
    actual.fill(-1);
    kernels.capture(picture.data() + offset, kWidth, count, actual.data());
    ASSERT_EQ(actual, expected) << count << " blocks";
  }
}

// Byte captures at random starts against the byte reference, and that against the float reference on the
// widened samples.
void ExpectByteCaptureMatchesReference(const VqmLaneKernels& kernels, std::mt19937& random) {
  for (int n = 0; n < 300; ++n) {
    const size_t offset = testing::RandomOffset(random, 63);
    std::vector<uint8_t> picture(offset + static_cast<size_t>(kWidth) * 8);
    for (uint8_t& sample : picture) sample = testing::RandomByte(random);
    const std::vector<float> widened(picture.begin() + static_cast<ptrdiff_t>(offset), picture.end());
    const int count = 1 + n % kDctLanes;
    Lanes expected;
    VqmCaptureLanesScalar(widened.data(), kWidth, count, expected.data());
    Lanes reference;
    reference.fill(-1);
    VqmCaptureLanesScalar(picture.data() + offset, kWidth, count, reference.data());
    ASSERT_EQ(reference, expected) << count << " blocks";
    Lanes actual;
    actual.fill(-1);
    kernels.capture_bytes(picture.data() + offset, kWidth, count, actual.data());
    ASSERT_EQ(actual, expected) << count << " blocks";
  }
}

// Coefficients as the transform leaves them for 8-bit blocks, at the 16-bit limits, and with a zero or a
// negative DC (contrast 0, contrast NaN).
Lanes RandomCoefficients(std::mt19937& random, int kind) {
  std::uniform_int_distribution<int> small(-300, 300);
  std::uniform_int_distribution<int> any(-32768, 32767);
  std::uniform_int_distribution<int> dc(0, 2040);
  Lanes lanes;
  for (int i = 0; i < 64 * kDctLanes; ++i) lanes[i] = static_cast<int16_t>(kind == 1 ? any(random) : small(random));
  for (int j = 0; j < kDctLanes; ++j) {
    if (kind == 0) lanes[j] = static_cast<int16_t>(dc(random));
    if (kind == 2) lanes[j] = static_cast<int16_t>(j % 2 == 0 ? 0 : -dc(random) - 1);
  }
  return lanes;
}

std::array<int16_t, 64> Lane(const Lanes& lanes, int j) {
  std::array<int16_t, 64> block;
  for (int i = 0; i < 64; ++i) block[i] = lanes[kDctLanes * i + j];
  return block;
}

// Against VqmCompareBlock on each lane: the scalar tier's comparison is held to it too.
void ExpectComparisonMatchesReference(const VqmLaneKernels& kernels, std::mt19937& random) {
  for (int n = 0; n < 600; ++n) {
    const int kind = n % 3;
    const Lanes a = RandomCoefficients(random, kind);
    // Half the time the second picture is the first one slightly changed, as processed video mostly is.
    Lanes b = RandomCoefficients(random, kind);
    if (n % 2 == 0) {
      b = a;
      for (int16_t& coefficient : b) coefficient = static_cast<int16_t>(coefficient + (random() % 3 == 0));
    }
    const VqmLaneStatistics lanes = kernels.compare(a.data(), b.data());
    for (int j = 0; j < kDctLanes; ++j) {
      const VqmBlockStatistics block = VqmCompareBlock(Lane(a, j).data(), Lane(b, j).data());
      ASSERT_EQ(std::bit_cast<uint32_t>(lanes.mean[j]), std::bit_cast<uint32_t>(block.mean))
          << "kind " << kind << " lane " << j;
      ASSERT_EQ(std::bit_cast<uint32_t>(lanes.maximum[j]), std::bit_cast<uint32_t>(block.maximum))
          << "kind " << kind << " lane " << j;
    }
  }
}

TEST(VqmLanes, ScalarComparisonIsTheBlockComparisonOnEachLane) {
  std::mt19937 random(12);
  VqmLaneKernels scalar;
  InitVqmLaneKernels(scalar, 0);
  ExpectComparisonMatchesReference(scalar, random);
}

class VqmLaneCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitVqmLaneKernels)) GTEST_SKIP() << "no block steps of their own at this tier";
  }
};

TEST_P(VqmLaneCheck, CaptureMatchesReference) { ExpectCaptureMatchesReference(ActiveVqmLaneKernels(), random_); }

TEST_P(VqmLaneCheck, ByteCaptureMatchesReference) {
  ExpectByteCaptureMatchesReference(ActiveVqmLaneKernels(), random_);
}

TEST_P(VqmLaneCheck, ComparisonMatchesReferenceBitForBit) {
  ExpectComparisonMatchesReference(ActiveVqmLaneKernels(), random_);
}

VIDMETRA_TIER_CHECK(VqmLaneCheck);

}  // namespace
}  // namespace vidmetra
