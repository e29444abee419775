#include "vidmetra/compressor_settings.h"

#include <gtest/gtest.h>

#include <random>

#include "support/byte_files.h"
#include "support/temp_dir.h"
#include "vidmetra/byte_order.h"

namespace vidmetra {
namespace {

CompressorSettings Sample(uint32_t seed) {
  std::mt19937 random(seed);
  CompressorSettings settings;
  settings.fcc_type = kVideoCompressorType;
  settings.fcc_handler = static_cast<uint32_t>(random());
  settings.quality = static_cast<int32_t>(random() % 10001);
  settings.data_rate = static_cast<int32_t>(random() % 5000);
  settings.state = testing::PatternBytes(random() % 64, seed);
  return settings;
}

TEST(CompressorSettingsTest, RandomRecordsSurviveTheRoundTripWithTheLayoutOfTheFile) {
  for (uint32_t seed = 1; seed < 200; ++seed) {
    const CompressorSettings settings = Sample(seed);
    const std::vector<uint8_t> bytes = SerializeCompressorSettings(settings);
    ASSERT_EQ(bytes.size(), settings.state.size() + 24);
    ASSERT_EQ(SerializeCompressorSettings(settings, nullptr), bytes.size());
    EXPECT_EQ(LoadLe32(&bytes[0]), settings.state.size() + 20);
    EXPECT_EQ(LoadLe32(&bytes[4]), settings.fcc_type);
    EXPECT_EQ(LoadLe32(&bytes[8]), settings.fcc_handler);
    EXPECT_EQ(static_cast<int32_t>(LoadLe32(&bytes[12])), settings.quality);
    EXPECT_EQ(static_cast<int32_t>(LoadLe32(&bytes[16])), settings.data_rate);
    EXPECT_EQ(LoadLe32(&bytes[20]), settings.state.size());
    CompressorSettings loaded;
    ASSERT_EQ(DeserializeCompressorSettings(bytes.data(), bytes.size(), loaded), bytes.size());
    EXPECT_EQ(loaded, settings);
  }
}

TEST(CompressorSettingsTest, RecordWithoutStateLoads) {
  CompressorSettings settings;
  settings.fcc_type = kVideoCompressorType;
  settings.fcc_handler = FourCc("MJPG");
  settings.quality = 7500;
  const std::vector<uint8_t> bytes = SerializeCompressorSettings(settings);
  ASSERT_EQ(bytes.size(), 24u);
  CompressorSettings loaded = Sample(3);
  EXPECT_EQ(DeserializeCompressorSettings(bytes.data(), bytes.size(), loaded), 24u);
  EXPECT_EQ(loaded, settings);
  EXPECT_TRUE(loaded.state.empty());
}

TEST(CompressorSettingsTest, RecordsThatClaimMoreThanTheyHoldAreIgnored) {
  const CompressorSettings original = Sample(9);
  std::vector<uint8_t> bytes = SerializeCompressorSettings(Sample(5));
  const size_t size = bytes.size();
  auto rejected = [&](const std::vector<uint8_t>& record, size_t length) {
    CompressorSettings settings = original;
    const bool refused = DeserializeCompressorSettings(record.data(), length, settings) == 0;
    return refused && settings == original;
  };
  EXPECT_TRUE(rejected(bytes, size - 1));  // first field now exceeds length - 4
  StoreLe32(&bytes[0], static_cast<uint32_t>(size - 3));
  EXPECT_TRUE(rejected(bytes, size));
  StoreLe32(&bytes[0], 20);
  StoreLe32(&bytes[20], static_cast<uint32_t>(size));  // state reaching past the end
  EXPECT_TRUE(rejected(bytes, size));
  StoreLe32(&bytes[20], 0xFFFFFFF0u);  // negative state size
  EXPECT_TRUE(rejected(bytes, size));
  EXPECT_TRUE(rejected(bytes, 10));
  CompressorSettings untouched = original;
  EXPECT_EQ(DeserializeCompressorSettings(nullptr, 100, untouched), 0u);
  // A shorter state than the first field announces is what the record says it is.
  StoreLe32(&bytes[20], 3);
  CompressorSettings loaded;
  EXPECT_EQ(DeserializeCompressorSettings(bytes.data(), size, loaded), 27u);
  EXPECT_EQ(loaded.state.size(), 3u);
}

TEST(CompressorSettingsTest, CodecConfigFileKeepsTheChoiceAndIgnoresDamagedFiles) {
  testing::TempDir dir;
  const std::string path = dir.File("codec_config");
  CompressorSettings settings;
  EXPECT_FALSE(LoadCompressorSettings(path, settings));
  EXPECT_EQ(settings, CompressorSettings{});
  const CompressorSettings chosen = Sample(11);
  ASSERT_TRUE(SaveCompressorSettings(path, chosen));
  ASSERT_TRUE(LoadCompressorSettings(path, settings));
  EXPECT_EQ(settings, chosen);
  testing::WriteBytes(path, {});
  EXPECT_FALSE(LoadCompressorSettings(path, settings));
  std::vector<uint8_t> truncated = SerializeCompressorSettings(Sample(12));
  truncated.resize(truncated.size() - 2);
  testing::WriteBytes(path, truncated);
  EXPECT_FALSE(LoadCompressorSettings(path, settings));
  EXPECT_EQ(settings, chosen);
  EXPECT_FALSE(SaveCompressorSettings(dir.File("missing/codec_config"), chosen));
}

}  // namespace
}  // namespace vidmetra
