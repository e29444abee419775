#include "vidmetra/bytes_to_floats.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vidmetra
