#include "support/stream_samples.h"

#include <gtest/gtest.h>

namespace vidmetra::testing {

std::vector<uint8_t> ReadWholeSample(StreamSource& stream, int64_t sample) {
  int64_t size = 0;
  stream.Read(sample, nullptr, 0, size);
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(size, 0)));
  int64_t read = -1;
  EXPECT_TRUE(stream.Read(sample, bytes.data(), size, read)) << "sample " << sample;
  EXPECT_EQ(read, size) << "sample " << sample;
  return bytes;
}

}  // namespace vidmetra::testing
