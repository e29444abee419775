#include "vidmetra/prefetching_reader.h"

#include <gtest/gtest.h>

#include "support/driver_fakes.h"

namespace vidmetra {
namespace {

using testing::FakeClip;
using testing::FakeReader;

TaskPool& Pool() {
  static TaskPool pool(2);
  return pool;
}

std::unique_ptr<SequenceReader> Wrapped(FakeClip clip) {
  return std::make_unique<PrefetchingReader>(std::make_unique<FakeReader>("clip", std::move(clip)), Pool());
}

uint8_t Level(const VideoFrame& frame) { return frame.Plane(0).origin[0]; }

TEST(PrefetchingReader, SequentialReadsDeliverEveryFrameInOrder) {
  auto reader = Wrapped({24, 8, {1, 2, 3, 4, 5}, -1});
  EXPECT_EQ(reader->FrameCount(), 5);
  EXPECT_EQ(reader->Width(), 24);
  VideoFrame frame;
  for (uint8_t n = 0; n < 5; ++n) {
    ASSERT_EQ(reader->ReadNextFrame(frame), 0);
    EXPECT_EQ(Level(frame), n + 1);
    EXPECT_EQ(frame.width(), 24);
  }
  EXPECT_TRUE(reader->IsAtEnd());
  EXPECT_EQ(reader->ReadNextFrame(frame), 0);  // past the end: nothing read, frame kept
  EXPECT_EQ(Level(frame), 5);
}

TEST(PrefetchingReader, RandomAccessAndFailuresAreTheWrappedReaders) {
  auto reader = Wrapped({16, 16, {10, 11, 12, 13, 14, 15}, 3});
  VideoFrame frame;
  ASSERT_EQ(reader->ReadFrame(frame, 0), 0);
  ASSERT_EQ(reader->ReadFrame(frame, 4), 0);  // not the prefetched frame
  EXPECT_EQ(Level(frame), 14);
  ASSERT_EQ(reader->ReadFrame(frame, 2), 0);
  EXPECT_EQ(Level(frame), 12);
  EXPECT_EQ(reader->ReadFrame(frame, 3), 3);  // the prefetched read failed: its status comes through
  EXPECT_EQ(reader->ReadFrame(frame, 9), 4);
  EXPECT_EQ(reader->ReadFrame(frame, 5), 0);
  EXPECT_EQ(Level(frame), 15);
}

TEST(PrefetchingReader, DestroyedWhileReadingAhead) {
  for (int i = 0; i < 50; ++i) {
    auto reader = Wrapped({64, 64, {1, 2, 3}, -1});
    VideoFrame frame;
    ASSERT_EQ(reader->ReadFrame(frame, 0), 0);
  }
}

}  // namespace
}  // namespace vidmetra
