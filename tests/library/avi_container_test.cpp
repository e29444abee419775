#include "vidmetra/avi_container.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/avi_builder.h"
#include "support/stream_samples.h"
#include "support/temp_dir.h"
#include "vidmetra/fourcc.h"

namespace vidmetra {
namespace {

using testing::AviBuilder;
using testing::AviIndexLayout;
using testing::AviStreamSpec;
using testing::PatternBytes;
using testing::ReadWholeSample;

constexpr int32_t kPictureWidth = 8;
constexpr int32_t kPictureHeight = 4;
constexpr size_t kPictureBytes = kPictureWidth * kPictureHeight * 3;

// A video stream of `frames` frames with a key frame every `key_interval`.
AviBuilder VideoClip(size_t frames, size_t key_interval = 1) {
  AviBuilder builder;
  const int video = builder.AddVideoStream(kPictureWidth, kPictureHeight, std::string(4, '\0'), 24);
  for (size_t i = 0; i < frames; ++i) {
    builder.AddSample(video, PatternBytes(kPictureBytes, static_cast<uint32_t>(i)), i % key_interval == 0);
  }
  return builder;
}

class AviContainerTest : public ::testing::Test {
 protected:
  bool OpenBuilt(const AviBuilder& builder, AviIndexLayout layout) {
    builder.Write(path_, layout);
    return container_.Open(path_);
  }

  vidmetra::testing::TempDir dir_;
  std::string path_ = dir_.File("clip.avi");
  AviContainer container_;
};

TEST_F(AviContainerTest, RelativeAndAbsoluteClassicOffsetsBothReadFrameZero) {
  for (AviIndexLayout layout : {AviIndexLayout::kClassicRelative, AviIndexLayout::kClassicAbsolute}) {
    ASSERT_TRUE(OpenBuilt(VideoClip(3), layout));
    ContainerStream* video = container_.VideoStream(0);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->Length(), 3);
    EXPECT_EQ(ReadWholeSample(*video, 0), PatternBytes(kPictureBytes, 0));
    EXPECT_EQ(ReadWholeSample(*video, 2), PatternBytes(kPictureBytes, 2));
  }
}

TEST_F(AviContainerTest, KeyFramesFollowTheClassicIndexFlags) {
  ASSERT_TRUE(OpenBuilt(VideoClip(60, 25), AviIndexLayout::kClassicRelative));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  EXPECT_TRUE(video->IsKeyFrame(0));
  EXPECT_TRUE(video->IsKeyFrame(25));
  EXPECT_TRUE(video->IsKeyFrame(50));
  EXPECT_FALSE(video->IsKeyFrame(1));
  EXPECT_FALSE(video->IsKeyFrame(49));
  EXPECT_FALSE(video->IsKeyFrame(60));
  EXPECT_FALSE(video->IsKeyFrame(-1));
}

TEST_F(AviContainerTest, UnknownStreamTypeFailsTheOpen) {
  AviBuilder builder = VideoClip(2);
  builder.Stream(0).type = "abcd";
  EXPECT_FALSE(OpenBuilt(builder, AviIndexLayout::kClassicRelative));
  EXPECT_TRUE(container_.Failed());
  EXPECT_EQ(container_.VideoStream(0), nullptr);
}

TEST_F(AviContainerTest, MidiAndTextStreamsAreNeitherVideoNorAudio) {
  AviBuilder builder = VideoClip(2);
  AviStreamSpec text;
  text.type = "txts";
  text.format = {1, 2, 3};
  builder.AddStream(text);
  ASSERT_TRUE(OpenBuilt(builder, AviIndexLayout::kClassicRelative));
  ContainerStream* stream = container_.Stream(1);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->StreamKind(), ContainerStream::kOther);
  EXPECT_FALSE(stream->IsVideo());
  EXPECT_FALSE(stream->IsAudio());
}

TEST_F(AviContainerTest, FileWithoutIndexGivesEmptyStreams) {
  ASSERT_TRUE(OpenBuilt(VideoClip(3), AviIndexLayout::kNone));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->Length(), 0);
  EXPECT_EQ(video->End(), video->Start() - 1);
  int64_t read = -1;
  uint8_t byte = 0;
  EXPECT_FALSE(video->Read(0, &byte, 1, read));
  EXPECT_EQ(read, 0);
}

TEST_F(AviContainerTest, ClassicIndexBeforeMoviFailsTheOpen) {
  EXPECT_FALSE(OpenBuilt(VideoClip(3), AviIndexLayout::kClassicBeforeMovi));
  EXPECT_TRUE(container_.Failed());
}

TEST_F(AviContainerTest, OpenDmlSuperIndexIsReadAndClassicIndexIgnored) {
  AviBuilder builder = VideoClip(40, 10);
  builder.SetEntriesPerStandardIndex(16);  // three ix00 chunks
  ASSERT_TRUE(OpenBuilt(builder, AviIndexLayout::kOpenDmlWithClassic));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  ASSERT_EQ(video->Length(), 40);
  for (int64_t i = 0; i < 40; ++i) {
    EXPECT_EQ(video->IsKeyFrame(i), i % 10 == 0) << i;
    EXPECT_EQ(ReadWholeSample(*video, i), PatternBytes(kPictureBytes, static_cast<uint32_t>(i))) << i;
  }
}

TEST_F(AviContainerTest, OpenDmlIndexOfChunksInTheStreamList) {
  ASSERT_TRUE(OpenBuilt(VideoClip(5, 2), AviIndexLayout::kOpenDmlDirect));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  ASSERT_EQ(video->Length(), 5);
  EXPECT_TRUE(video->IsKeyFrame(4));
  EXPECT_FALSE(video->IsKeyFrame(3));
  EXPECT_EQ(ReadWholeSample(*video, 4), PatternBytes(kPictureBytes, 4));
}

TEST_F(AviContainerTest, ExtendedHeaderRaisesTotalFrames) {
  ASSERT_TRUE(OpenBuilt(VideoClip(7), AviIndexLayout::kOpenDml));
  EXPECT_EQ(container_.TotalFrames(), 7u);
  EXPECT_EQ(container_.MainHeader().streams, 1u);
}

TEST_F(AviContainerTest, ReadReportsTheSizeWhenTheCapacityIsShort) {
  ASSERT_TRUE(OpenBuilt(VideoClip(2), AviIndexLayout::kClassicRelative));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  std::vector<uint8_t> buffer(kPictureBytes - 1, 0xAB);
  int64_t read = 0;
  EXPECT_FALSE(video->Read(1, buffer.data(), static_cast<int64_t>(buffer.size()), read));
  EXPECT_EQ(read, static_cast<int64_t>(kPictureBytes));
  EXPECT_EQ(buffer, std::vector<uint8_t>(kPictureBytes - 1, 0xAB));
  EXPECT_FALSE(video->Read(2, buffer.data(), static_cast<int64_t>(buffer.size()), read));
  EXPECT_EQ(read, 0);
}

TEST_F(AviContainerTest, ZeroSizedSampleReadsAsEmpty) {
  AviBuilder builder = VideoClip(1);
  builder.AddSample(0, {}, false);
  ASSERT_TRUE(OpenBuilt(builder, AviIndexLayout::kClassicRelative));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  int64_t read = -1;
  EXPECT_TRUE(video->Read(1, nullptr, 0, read));
  EXPECT_EQ(read, 0);
}

TEST_F(AviContainerTest, StartShiftsSampleNumbers) {
  AviBuilder builder = VideoClip(3);
  builder.Stream(0).start = 10;
  ASSERT_TRUE(OpenBuilt(builder, AviIndexLayout::kClassicRelative));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->Start(), 10);
  EXPECT_EQ(video->End(), 12);
  EXPECT_EQ(ReadWholeSample(*video, 10), PatternBytes(kPictureBytes, 0));
  int64_t read = -1;
  EXPECT_FALSE(video->Read(0, nullptr, 0, read));
}

TEST_F(AviContainerTest, InfoAndFormatComeFromTheStreamList) {
  AviBuilder builder = VideoClip(3);
  builder.Stream(0).scale = 1001;
  builder.Stream(0).rate = 30000;
  ASSERT_TRUE(OpenBuilt(builder, AviIndexLayout::kClassicRelative));
  ContainerStream* video = container_.VideoStream(0);
  ASSERT_NE(video, nullptr);
  StreamInfo info;
  ASSERT_TRUE(video->GetInfo(info));
  EXPECT_EQ(info.type, FourCc("vids"));
  EXPECT_EQ(info.handler, 0u);
  EXPECT_EQ(info.scale, 1001u);
  EXPECT_EQ(info.rate, 30000u);
  EXPECT_EQ(info.length, 3u);
  EXPECT_EQ(info.quality, 0xFFFFFFFFu);
  EXPECT_EQ(info.frame.right, kPictureWidth);
  EXPECT_EQ(info.frame.bottom, kPictureHeight);

  ASSERT_EQ(video->FormatSize(), 40);
  std::vector<uint8_t> format(40);
  EXPECT_FALSE(video->ReadFormat(format.data(), 39));
  ASSERT_TRUE(video->ReadFormat(format.data(), 40));
  int32_t width = 0;
  std::memcpy(&width, format.data() + 4, 4);
  EXPECT_EQ(width, kPictureWidth);
}

TEST_F(AviContainerTest, StreamsAreSelectedByKindAndPosition) {
  AviBuilder builder;
  const int audio = builder.AddAudioStream(2, 8000, 16);
  const int first = builder.AddVideoStream(kPictureWidth, kPictureHeight, "MJPG", 24);
  const int second = builder.AddVideoStream(kPictureWidth, kPictureHeight, "FFV1", 24);
  for (int stream : {audio, first, second}) {
    for (uint32_t i = 0; i < 3; ++i) builder.AddSample(stream, PatternBytes(10 + stream, 100 * stream + i));
  }
  ASSERT_TRUE(OpenBuilt(builder, AviIndexLayout::kClassicAbsolute));
  ASSERT_NE(container_.VideoStream(0), nullptr);
  ASSERT_NE(container_.VideoStream(1), nullptr);
  EXPECT_EQ(container_.VideoStream(0)->Number(), first);
  EXPECT_EQ(container_.VideoStream(1)->Number(), second);
  EXPECT_EQ(container_.VideoStream(2), nullptr);
  ASSERT_NE(container_.AudioStream(0), nullptr);
  EXPECT_EQ(container_.AudioStream(0)->Number(), audio);
  EXPECT_EQ(container_.AudioStream(1), nullptr);
  EXPECT_EQ(ReadWholeSample(*container_.VideoStream(1), 2), PatternBytes(10 + second, 100 * second + 2));
  EXPECT_EQ(ReadWholeSample(*container_.AudioStream(0), 1), PatternBytes(10 + audio, 100 * audio + 1));
}

TEST_F(AviContainerTest, InterleaveGroupsInTheClassicIndexAreSkipped) {
  AviBuilder builder = VideoClip(2);
  std::vector<uint8_t> bytes = builder.Build(AviIndexLayout::kClassicRelative);
  // Turn the first index entry into a "rec " entry, as interleaved files list their groups.
  const auto idx1 = std::search(bytes.begin(), bytes.end(), std::begin("idx1"), std::end("idx1") - 1);
  ASSERT_NE(idx1, bytes.end());
  std::memcpy(&*(idx1 + 8), "rec ", 4);
  testing::WriteBytes(path_, bytes);
  ASSERT_TRUE(container_.Open(path_));
  ASSERT_NE(container_.VideoStream(0), nullptr);
  EXPECT_EQ(container_.VideoStream(0)->Length(), 1);
  EXPECT_EQ(ReadWholeSample(*container_.VideoStream(0), 0), PatternBytes(kPictureBytes, 1));
}

TEST_F(AviContainerTest, ClassicIndexNamingAMissingStreamFailsTheOpen) {
  AviBuilder builder = VideoClip(2);
  std::vector<uint8_t> bytes = builder.Build(AviIndexLayout::kClassicRelative);
  const auto idx1 = std::search(bytes.begin(), bytes.end(), std::begin("idx1"), std::end("idx1") - 1);
  ASSERT_NE(idx1, bytes.end());
  *(idx1 + 9) = '7';
  testing::WriteBytes(path_, bytes);
  EXPECT_FALSE(container_.Open(path_));
}

TEST_F(AviContainerTest, MissingFileFails) {
  EXPECT_FALSE(container_.Open(dir_.File("absent.avi")));
  EXPECT_TRUE(container_.Failed());
  EXPECT_EQ(container_.StreamCount(), 0);
}

TEST_F(AviContainerTest, OpeningAgainStartsAfresh) {
  ASSERT_TRUE(OpenBuilt(VideoClip(2), AviIndexLayout::kClassicRelative));
  ASSERT_TRUE(container_.Open(path_));
  ASSERT_NE(container_.VideoStream(0), nullptr);
  EXPECT_EQ(ReadWholeSample(*container_.VideoStream(0), 1), PatternBytes(kPictureBytes, 1));
}

}  // namespace
}  // namespace vidmetra
