#include "vidmetra/bytes_to_floats.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vidmetra {
namespace {

TEST(BytesToFloats, ReferenceGivesEveryByteItsValue) {
  std::vector<uint8_t> bytes(256);
  for (int i = 0; i < 256; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(255 - i);
  std::vector<float> floats(256, -1.0f);
  BytesToFloatsScalar(bytes.data(), floats.data(), bytes.size());
  for (int i = 0; i < 256; ++i) EXPECT_EQ(floats[static_cast<size_t>(i)], static_cast<float>(255 - i)) << i;
}

// Random runs of every length around the vector steps, at every alignment, with guards after the end.
TEST(BytesToFloats, VectorMatchesReferenceOnRandomRuns) {
  std::mt19937 random(31);
  std::uniform_int_distribution<int> byte(0, 255);
  for (size_t offset = 0; offset < 4; ++offset) {
    for (size_t count = 0; count < 200; ++count) {
      std::vector<uint8_t> bytes(offset + count);
      for (uint8_t& value : bytes) value = static_cast<uint8_t>(byte(random));
      std::vector<float> reference(offset + count + 1, -1.0f), vector(offset + count + 1, -1.0f);
      BytesToFloatsScalar(bytes.data() + offset, reference.data() + offset, count);
      BytesToFloats(bytes.data() + offset, vector.data() + offset, count);
      ASSERT_EQ(vector, reference) << offset << " " << count;
    }
  }
}

}  // namespace
}  // namespace vidmetra
