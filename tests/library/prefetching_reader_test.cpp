#include "vidmetra/prefetching_reader.h"

#include <gtest/gtest.h>

#include <set>

#include "support/avi_builder.h"
#include "support/byte_files.h"
#include "support/driver_fakes.h"
#include "support/temp_dir.h"
#include "vidmetra/avi_reader.h"

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

TEST(PrefetchingReader, StreamsThatStartPastZeroReadAsTheReaderItWraps) {
  testing::TempDir dir;
  testing::AviBuilder builder;
  const int stream = builder.AddVideoStream(4, 2, std::string(4, '\0'), 24);
  builder.Stream(stream).start = 3;
  for (int n = 0; n < 4; ++n) builder.AddSample(stream, testing::PatternBytes(24, 50 + n));
  const std::string path = dir.File("late.avi");
  builder.Write(path, testing::AviIndexLayout::kClassicRelative);

  auto plain = std::make_unique<AviReader>();
  auto inner = std::make_unique<AviReader>();
  ASSERT_EQ(plain->Open(path, true, false), AviReader::kOk);
  ASSERT_EQ(inner->Open(path, true, false), AviReader::kOk);
  PrefetchingReader wrapped(std::move(inner), Pool());
  EXPECT_EQ(plain->FirstFrameNumber(), 3);
  EXPECT_EQ(wrapped.FirstFrameNumber(), 3);
  for (const int n : {2, 3, 6, 7}) EXPECT_EQ(wrapped.IsBadFrameNumber(n), plain->IsBadFrameNumber(n)) << n;
  VideoFrame expected, actual;
  std::set<uint8_t> levels;  // the frames differ, so a frame read in the wrong place shows
  for (int n = 0; n < 5; ++n) {
    EXPECT_EQ(wrapped.Position(), plain->Position());
    EXPECT_EQ(wrapped.IsAtEnd(), plain->IsAtEnd());
    ASSERT_EQ(wrapped.ReadNextFrame(actual), plain->ReadNextFrame(expected)) << n;
    EXPECT_EQ(Level(actual), Level(expected)) << n;
    levels.insert(Level(actual));
  }
  EXPECT_EQ(levels.size(), 4u);
  EXPECT_TRUE(wrapped.IsAtEnd());
  ASSERT_EQ(wrapped.ReadFrame(actual, 4), 0);
  ASSERT_EQ(plain->ReadFrame(expected, 4), 0);
  EXPECT_EQ(Level(actual), Level(expected));
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
