#include "vidmetra/fdct.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace vidmetra {
namespace {

using Block = std::array<double, 64>;

// The transform in double precision, straight from its definition.
Block ReferenceDct(const int16_t* samples) {
  Block coefficients{};
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < 8; ++u) {
      double sum = 0.0;
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          sum += samples[8 * y + x] * std::cos((2 * x + 1) * u * std::numbers::pi / 16) *
                 std::cos((2 * y + 1) * v * std::numbers::pi / 16);
        }
      }
      const double cu = u == 0 ? 1 / std::numbers::sqrt2 : 1.0;
      const double cv = v == 0 ? 1 / std::numbers::sqrt2 : 1.0;
      coefficients[8 * v + u] = 0.25 * cu * cv * sum;
    }
  }
  return coefficients;
}

// Nearest integer, halfway cases away from zero; values within rounding noise of a halfway case count as one
// (the coefficients (0/4, 0/4) are exact multiples of 1/8, which double-precision cosines only approximate).
long RoundReference(double value) {
  const double fraction = std::abs(value - std::trunc(value));
  if (std::abs(fraction - 0.5) < 1e-9) return static_cast<long>(std::trunc(value)) + (value > 0 ? 1 : -1);
  return std::lround(value);
}

TEST(ForwardDct, FlatBlocksHaveOnlyADcCoefficient) {
  for (const int16_t level : {int16_t{0}, int16_t{128}, int16_t{136}, int16_t{255}, int16_t{-256}}) {
    std::array<int16_t, 64> block;
    block.fill(level);
    ForwardDct8x8(block.data());
    EXPECT_EQ(block[0], level * 8);
    for (int i = 1; i < 64; ++i) EXPECT_EQ(block[i], 0) << i;
  }
}

TEST(ForwardDct, SingleCosineLandsOnItsCoefficient) {
  std::array<int16_t, 64> block;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      // Horizontal frequency 3, vertical frequency 1.
      block[8 * y + x] = static_cast<int16_t>(std::lround(
          100 * std::cos((2 * x + 1) * 3 * std::numbers::pi / 16) * std::cos((2 * y + 1) * std::numbers::pi / 16)));
    }
  }
  const Block reference = ReferenceDct(block.data());
  ForwardDct8x8(block.data());
  EXPECT_EQ(block[8 * 1 + 3], RoundReference(reference[8 * 1 + 3]));
  EXPECT_NEAR(block[8 * 1 + 3], 400, 2);
  // Elsewhere only rounding residue, a halfway case or two among them.
  for (int i = 0; i < 64; ++i) EXPECT_LE(std::abs(block[i] - RoundReference(reference[i])), 1) << i;
}

// The accuracy test of IEEE 1180, applied to the forward transform: 10000 random blocks per range and sign,
// errors measured against the rounded double-precision transform.
TEST(ForwardDct, MeetsTheIeee1180AccuracyLimits) {
  std::mt19937 random(1180);
  const int ranges[][2] = {{-256, 255}, {-5, 5}, {-300, 300}};
  constexpr int kBlocks = 10000;
  for (const auto& range : ranges) {
    for (const int sign : {1, -1}) {
      std::uniform_int_distribution<int> level(range[0], range[1]);
      std::array<double, 64> error_sum{}, squared_sum{};
      int peak = 0;
      for (int n = 0; n < kBlocks; ++n) {
        std::array<int16_t, 64> block;
        for (int16_t& sample : block) sample = static_cast<int16_t>(sign * level(random));
        const Block reference = ReferenceDct(block.data());
        ForwardDct8x8(block.data());
        for (int i = 0; i < 64; ++i) {
          const long error = block[i] - RoundReference(reference[i]);
          peak = std::max(peak, static_cast<int>(std::labs(error)));
          error_sum[i] += static_cast<double>(error);
          squared_sum[i] += static_cast<double>(error * error);
        }
      }
      double total_error = 0.0, total_squared = 0.0;
      for (int i = 0; i < 64; ++i) {
        EXPECT_LE(squared_sum[i] / kBlocks, 0.06) << "coefficient " << i;
        EXPECT_LE(std::abs(error_sum[i]) / kBlocks, 0.015) << "coefficient " << i;
        total_error += error_sum[i];
        total_squared += squared_sum[i];
      }
      EXPECT_LE(peak, 1) << range[0] << ".." << range[1];
      EXPECT_LE(total_squared / (64.0 * kBlocks), 0.02);
      EXPECT_LE(std::abs(total_error) / (64.0 * kBlocks), 0.0015);
    }
  }
}

TEST(ForwardDct, SaturatesInsteadOfWrapping) {
  std::array<int16_t, 64> block;
  block.fill(32767);
  ForwardDct8x8(block.data());
  EXPECT_EQ(block[0], 32767);
  block.fill(-32768);
  ForwardDct8x8(block.data());
  EXPECT_EQ(block[0], -32768);
}

}  // namespace
}  // namespace vidmetra
