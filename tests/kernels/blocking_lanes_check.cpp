// The blocking measure's boundary steps of every tier against the references: line terms read from random
// planes (8-bit samples, fractional ones, and some huge, infinite or NaN samples that only corrupt planes hold),
// then every position of boundaries of random lengths evaluated, limited or not, at several edge thresholds.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "kernels/kernel_check.h"
#include "vidmetra/blocking_lanes.h"

namespace vidmetra {
namespace {

class BlockingLanesCheck : public testing::TierCheck {
 protected:
  void SetUp() override {
    if (!TierHasOwnKernels(InitBlockingLaneKernels)) GTEST_SKIP() << "no kernel of its own at this tier";
  }

  float RandomSample(int kind) {
    if (kind == 0) return testing::RandomByte(random_);
    if (kind == 1) return static_cast<float>(random_() % 25600) / 100.0f;
    // Mostly small steps (so that few positions are edges), now and then a corrupt sample.
    const auto draw = static_cast<uint32_t>(random_() % 1000);
    if (draw == 0) return std::numeric_limits<float>::quiet_NaN();
    if (draw == 1) return std::numeric_limits<float>::infinity();
    if (draw == 2) return 3e9f;
    return static_cast<float>(120 + random_() % 16);
  }
};

// Room for the terms of `length` lines, with a guard value after each array.
struct Terms {
  explicit Terms(int length)
      : integers(3 * (static_cast<size_t>(length) + 1), -77), floats(2 * (static_cast<size_t>(length) + 1), -7.0f),
        stride(static_cast<size_t>(length) + 1) {}
  BoundaryLines Lines() {
    return {integers.data(), integers.data() + stride, integers.data() + 2 * stride, floats.data(),
            floats.data() + stride};
  }
  std::vector<int32_t> integers;
  std::vector<float> floats;
  size_t stride;
};

// Terms equal field by field, floats by their bits.
void ExpectSameTerms(const Terms& actual, const Terms& expected, const char* what) {
  ASSERT_EQ(actual.integers, expected.integers) << what;
  ASSERT_EQ(0, std::memcmp(actual.floats.data(), expected.floats.data(), actual.floats.size() * sizeof(float)))
      << what;
}

// Planes of 8-bit samples read as bytes, by the byte references and by the tier's readers, give the terms the
// float reference reads from the widened samples.
void ExpectByteReadsMatch(const std::vector<float>& rows, const std::vector<float>& columns, ptrdiff_t stride,
                          int length, const Terms& expected) {
  const std::vector<uint8_t> row_bytes(rows.begin(), rows.end()), column_bytes(columns.begin(), columns.end());
  const BlockingLaneKernels& kernels = ActiveBlockingLaneKernels();
  const uint8_t* s0 = row_bytes.data() + stride + 2;
  Terms reference(length), vector(length);
  ReadAdjacentLinesScalar(s0, stride, length, reference.Lines());
  kernels.read_adjacent_bytes(s0, stride, length, vector.Lines());
  ExpectSameTerms(reference, expected, "adjacent byte reference");
  ExpectSameTerms(vector, expected, "adjacent bytes");
  Terms stacked_reference(length), stacked_vector(length);
  ReadStackedLinesScalar(column_bytes.data() + 2 * 4 + 1, 4, length, stacked_reference.Lines());
  kernels.read_stacked_bytes(column_bytes.data() + 2 * 4 + 1, 4, length, stacked_vector.Lines());
  ExpectSameTerms(stacked_reference, expected, "stacked byte reference");
  ExpectSameTerms(stacked_vector, expected, "stacked bytes");
}

TEST_P(BlockingLanesCheck, ReadingAndEvaluationMatchReference) {
  const BlockingLaneKernels& kernels = ActiveBlockingLaneKernels();
  for (int n = 0; n < 120; ++n) {
    const int length = n < 40 ? n : 8 * static_cast<int>(1 + random_() % 240);
    const int kind = n % 3;
    // Four rows of samples across a horizontal boundary, `stride` apart.
    const auto stride = static_cast<ptrdiff_t>(length) + 5;
    std::vector<float> rows(4 * static_cast<size_t>(stride));
    for (float& sample : rows) sample = RandomSample(kind);
    // Smooth runs so that flat positions (those without divisions) occur too.
    if (n % 2 == 0) {
      for (size_t i = 0; i < rows.size(); i += 1 + random_() % 3) rows[i] = 128.0f;
    }
    const float* s0 = rows.data() + stride + 2;
    Terms reference_terms(length), vector_terms(length);
    ReadAdjacentLinesScalar(s0, stride, length, reference_terms.Lines());
    kernels.read_adjacent(s0, stride, length, vector_terms.Lines());
    ASSERT_EQ(vector_terms.integers, reference_terms.integers) << length;
    ASSERT_EQ(0, std::memcmp(vector_terms.floats.data(), reference_terms.floats.data(),
                             vector_terms.floats.size() * sizeof(float)))
        << length;
    // The same lines read from a transposed copy, where each line's four samples lie side by side and the lines
    // are stacked four floats apart, as the rows crossing a vertical boundary are.
    std::vector<float> columns(4 * static_cast<size_t>(stride));
    for (size_t row = 0; row < 4; ++row) {
      for (size_t column = 0; column < static_cast<size_t>(stride); ++column) {
        columns[column * 4 + row] = rows[row * static_cast<size_t>(stride) + column];
      }
    }
    Terms stacked_reference(length), stacked_vector(length);
    ReadStackedLinesScalar(columns.data() + 2 * 4 + 1, 4, length, stacked_reference.Lines());
    kernels.read_stacked(columns.data() + 2 * 4 + 1, 4, length, stacked_vector.Lines());
    ASSERT_EQ(stacked_vector.integers, stacked_reference.integers) << length;
    ASSERT_EQ(stacked_reference.integers, reference_terms.integers) << length;
    ASSERT_EQ(0, std::memcmp(stacked_vector.floats.data(), stacked_reference.floats.data(),
                             stacked_vector.floats.size() * sizeof(float)))
        << length;
    if (kind == 0) {
      ASSERT_NO_FATAL_FAILURE(ExpectByteReadsMatch(rows, columns, stride, length, reference_terms));
    }
    for (const bool limit_inner : {false, true}) {
      for (const int threshold : {40, 0, 1000}) {
        std::vector<int32_t> reference(static_cast<size_t>(length) + 1, -5), vector = reference;
        EvaluateBoundaryScalar(reference_terms.Lines(), length, limit_inner, threshold, reference.data());
        kernels.evaluate(reference_terms.Lines(), length, limit_inner, threshold, vector.data());
        ASSERT_EQ(vector, reference) << length << " " << kind << " " << limit_inner << " " << threshold;
        const BoundaryPool pooled = kernels.pool(vector.data(), length);
        const BoundaryPool expected = PoolValuesScalar(reference.data(), length);
        ASSERT_EQ(pooled.count, expected.count) << length;
        ASSERT_EQ(pooled.total, expected.total) << length;
      }
    }
  }
}

VIDMETRA_TIER_CHECK(BlockingLanesCheck);

}  // namespace
}  // namespace vidmetra
