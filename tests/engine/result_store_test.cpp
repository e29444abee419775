#include "vidmetra/result_store.h"

#include <gtest/gtest.h>

namespace vidmetra {
namespace {

TEST(ResultStore, QueriesByIdAndFrame) {
  ResultStore store;
  EXPECT_FALSE(store.FrameCount().has_value());
  store.AddSeries(7, {0, 0, {}, "", "late"});
  store.AddSeries(3, {0, 0, {}, "", ""});
  store.AddSeries(3, {5, 1, {}, "", "replaced"});
  EXPECT_EQ(store.SeriesIds(), (std::vector<int32_t>{3, 7}));
  EXPECT_EQ(store.Series(3)->name, "replaced");
  EXPECT_EQ(store.Series(4), nullptr);

  for (int frame = 0; frame < 4; ++frame) store.AddValue(3, frame, static_cast<float>(frame) * 2);
  for (int frame = 2; frame < 6; ++frame) store.AddValue(7, frame, static_cast<float>(frame));
  EXPECT_EQ(store.Values(3).size(), 4u);
  EXPECT_TRUE(store.Values(99).empty());
  EXPECT_EQ(store.ValueAt(3, 3), 6.0f);
  EXPECT_FALSE(store.ValueAt(3, 4).has_value());
  // Positions count from the series' first stored frame.
  EXPECT_EQ(store.ValueAt(7, 2), 2.0f);
  EXPECT_EQ(store.ValueAt(7, 5), 5.0f);
  EXPECT_FALSE(store.ValueAt(7, 1).has_value());
  EXPECT_EQ(store.ValuesAt(3), (FrameResult{{3, 6.0f}, {7, 3.0f}}));
  EXPECT_EQ(store.ValuesAt(5), (FrameResult{{7, 5.0f}}));
  EXPECT_EQ(store.FrameCount(), 6);

  EXPECT_FALSE(store.Average(3).has_value());
  store.SetAverage(3, 1.5f);
  store.SetAverage(3, 2.5f);
  EXPECT_EQ(store.Average(3), 2.5f);
}

}  // namespace
}  // namespace vidmetra
