// Frame alignment through the opener: the driver, unchanged, measures the aligned ranges as whole files.
#include "vidmetra/aligning_opener.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/driver_fakes.h"

namespace vidmetra {
namespace {

using ::testing::ElementsAre;
using testing::DriverHarness;
using testing::FakeClip;

FakeClip Levels(std::vector<uint8_t> levels) {
  FakeClip clip;
  clip.levels = std::move(levels);
  return clip;
}

TEST(AligningOpenerTest, OriginalAndProcessedFilesAreMeasuredOverTheirOwnRanges) {
  DriverHarness h;
  h.AddFile("orig.yuv", Levels({10, 20, 30, 40, 50, 60}));
  h.AddFile("enc.yuv", Levels({0, 0, 13, 27, 30, 41, 55}));
  h.AddFile("enc2.yuv", Levels({0, 0, 10, 20, 30, 40, 50}));
  AligningOpener aligned(h.opener, {.original = {1, 3}, .processed = {3, 3}});
  auto services = h.services();
  services.opener = &aligned;
  ASSERT_TRUE(RunMeasurement(h.request, h.store, h.status, services));
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  const std::vector<int32_t> ids = h.store.SeriesIds();
  ASSERT_EQ(ids.size(), 2u);
  // Original frames 1 to 3 (20, 30, 40) against frames 3 to 5 of each processed file; frame numbers start at 0.
  std::vector<std::pair<int32_t, float>> first, second;
  for (const FrameValue& value : h.store.Values(ids[0])) first.emplace_back(value.frame, value.value);
  for (const FrameValue& value : h.store.Values(ids[1])) second.emplace_back(value.frame, value.value);
  EXPECT_THAT(first, ElementsAre(std::pair(0, 7.0f), std::pair(1, 0.0f), std::pair(2, 1.0f)));
  EXPECT_THAT(second, ElementsAre(std::pair(0, 0.0f), std::pair(1, 0.0f), std::pair(2, 0.0f)));
  EXPECT_EQ(h.log.lines[1], "Opened frames 1 to 3 of 6: file \"orig.yuv\" fake 16x16");
  EXPECT_EQ(h.log.lines[3], "Opened frames 3 to 5 of 7: file \"enc.yuv\" fake 16x16");
}

}  // namespace
}  // namespace vidmetra
