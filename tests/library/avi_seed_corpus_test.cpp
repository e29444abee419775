// The fuzzing corpus starts from these files; each must open and read back what was written.
#include "vidmetra/avi_container.h"

#include <gtest/gtest.h>

#include "support/avi_builder.h"
#include "support/avi_seeds.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

TEST(AviSeedCorpusTest, EverySeedOpensAndReadsBackItsVideo) {
  vidmetra::testing::TempDir dir;
  const auto seeds = testing::AviSeedFiles();
  ASSERT_FALSE(seeds.empty());
  for (const auto& seed : seeds) {
    SCOPED_TRACE(seed.name);
    const std::string path = dir.File(seed.name + ".avi");
    testing::WriteBytes(path, seed.bytes);
    AviContainer container;
    ASSERT_TRUE(container.Open(path));
    ContainerStream* video = container.VideoStream(0);
    ASSERT_NE(video, nullptr);
    if (seed.name == "no_index") {
      EXPECT_EQ(video->Length(), 0);
      continue;
    }
    ASSERT_EQ(video->Length(), 5);
    for (int64_t i = 0; i < 5; ++i) {
      std::vector<uint8_t> sample(24);
      int64_t read = 0;
      ASSERT_TRUE(video->Read(i, sample.data(), 24, read));
      EXPECT_EQ(sample, testing::PatternBytes(24, static_cast<uint32_t>(i)));
      EXPECT_EQ(video->IsKeyFrame(i), i % 3 == 0);
    }
  }
}

}  // namespace
}  // namespace vidmetra
