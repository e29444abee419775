#include "vidmetra/avi_muxer.h"

#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/temp_dir.h"
#include "vidmetra/avi_container.h"
#include "vidmetra/video_compressor.h"
#include "vidmetra/fourcc.h"

namespace vidmetra {
namespace {

StreamInfo Info(const char (&type)[5]) {
  StreamInfo info;
  info.type = FourCc(type);
  info.scale = 1;
  info.rate = 25;
  return info;
}

std::vector<int64_t> SampleSizes(ContainerStream& stream) {
  std::vector<int64_t> sizes;
  for (int64_t sample = stream.Start(); sample <= stream.End(); ++sample) {
    int64_t size = -1;
    stream.Read(sample, nullptr, 0, size);
    sizes.push_back(size);
  }
  return sizes;
}

TEST(AviMuxerTest, SamplesLandAtTheirNumbersWithGapsFilledByEmptySamples) {
  testing::TempDir dir;
  const std::string name = dir.File("gaps.avi");
  {
    AviMuxer muxer;
    ASSERT_TRUE(muxer.Create(name));
    EXPECT_EQ(muxer.AddStream(Info("txts"), ""), -1);
    const int video = muxer.AddStream(Info("vids"), "pictures");
    ASSERT_EQ(video, 0);
    EXPECT_FALSE(muxer.Start());  // no format yet
    // A FourCC no codec claims: the muxer then keeps the key-frame flags as given (raw video is always key).
    BitmapInfoHeader header = Rgb24Format(4, 2);
    header.compression = FourCc("TST1");
    const auto format = header.Bytes();
    EXPECT_FALSE(muxer.SetFormat(video, format.data(), 39));
    ASSERT_TRUE(muxer.SetFormat(video, format.data(), format.size()));
    ASSERT_TRUE(muxer.Start());
    const std::vector<uint8_t> frame = testing::PatternBytes(24, 1);
    EXPECT_TRUE(muxer.WriteSample(video, 3, frame.data(), 24, true));
    EXPECT_FALSE(muxer.WriteSample(video, 2, frame.data(), 24, true));  // numbers only go forward
    EXPECT_TRUE(muxer.WriteSample(video, 6, frame.data(), 24, false));
    EXPECT_FALSE(muxer.WriteSample(1, 7, frame.data(), 24, false));
    EXPECT_TRUE(muxer.Close());
  }
  AviContainer container;
  ASSERT_TRUE(container.Open(name));
  ContainerStream* video = container.VideoStream(0);
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(SampleSizes(*video), (std::vector<int64_t>{0, 0, 0, 24, 0, 0, 24}));
  EXPECT_TRUE(video->IsKeyFrame(3));
  EXPECT_FALSE(video->IsKeyFrame(6));
}

TEST(AviMuxerTest, RefusesWhatCannotBeWritten) {
  testing::TempDir dir;
  AviMuxer muxer;
  EXPECT_FALSE(muxer.Create(dir.File("missing/x.avi")));
  EXPECT_EQ(muxer.AddStream(Info("vids"), ""), -1);
  ASSERT_TRUE(muxer.Create(dir.File("x.avi")));
  const int audio = muxer.AddStream(Info("auds"), "");
  ASSERT_GE(audio, 0);
  const std::vector<uint8_t> unknown_tag = {0x34, 0x12, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0};
  EXPECT_FALSE(muxer.SetFormat(audio, unknown_tag.data(), unknown_tag.size()));
  EXPECT_FALSE(muxer.WriteSample(audio, 0, unknown_tag.data(), 4, false));  // not started
  EXPECT_TRUE(muxer.Close());
}

}  // namespace
}  // namespace vidmetra
