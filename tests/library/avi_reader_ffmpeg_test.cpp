// Files the ffmpeg program wrote, decoded by the AVI reader, must equal FFmpeg's own decode of them frame for frame,
// whether read in order or jumped to at random.
#include "vidmetra/avi_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "support/avi_builder.h"
#include "support/decoded_reference.h"
#include "support/ffmpeg_tool.h"
#include "support/stream_samples.h"
#include "support/temp_dir.h"
#include "vidmetra/avi_container.h"
#include "vidmetra/colour_space.h"

namespace vidmetra {
namespace {

struct DecodeCase {
  const char* name;
  const char* encoder_options;
  int width;
  int height;
  bool prefer_yv12;
  int colour_space;          // what the reader must deliver
  const char* pixel_format;  // what FFmpeg is asked to decode to for the comparison
  bool decoded;              // through a decoder rather than raw
};

void PrintTo(const DecodeCase& param, std::ostream* out) { *out << param.name; }

constexpr int kClipFrames = 40;

class AviReaderFfmpegTest : public ::testing::TestWithParam<DecodeCase> {
 protected:
  void SetUp() override {
    if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg is not installed";
  }

  std::string Encode(const DecodeCase& param, int frames = kClipFrames) {
    const std::string avi = dir_.File("clip.avi");
    EXPECT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc2=size=" + std::to_string(param.width) + "x" +
                                   std::to_string(param.height) + ":rate=25 -frames:v " + std::to_string(frames) +
                                   " " + param.encoder_options + " '" + avi + "'"));
    return avi;
  }

  std::vector<uint8_t> Read(AviReader& reader, int frame) {
    std::vector<uint8_t> buffer(static_cast<size_t>(TightFrameBytes(reader.ColourSpace(), reader.Width(),
                                                                     reader.Height())));
    EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), frame), AviReader::kOk) << "frame " << frame;
    return buffer;
  }

  testing::TempDir dir_;
};

TEST_P(AviReaderFfmpegTest, FramesEqualFfmpegsDecodeInOrderAndShuffled) {
  const DecodeCase& param = GetParam();
  const std::string avi = Encode(param);
  const auto expected =
      testing::FfmpegDecodedFrames(avi, param.pixel_format, param.width, param.height, dir_.File("ref.raw"));
  ASSERT_EQ(expected.size(), static_cast<size_t>(kClipFrames));

  AviReader reader;
  ASSERT_EQ(reader.Open(avi, param.prefer_yv12, false), AviReader::kOk) << reader.FailureDetail();
  EXPECT_EQ(reader.ColourSpace(), param.colour_space);
  EXPECT_EQ(reader.Width(), param.width);
  EXPECT_EQ(reader.Height(), param.height);
  ASSERT_EQ(reader.FrameCount(), kClipFrames);
  const std::string describe = reader.Describe();
  EXPECT_EQ(describe.ends_with(" raw stream"), !param.decoded) << describe;
  EXPECT_EQ(reader.DecoderName().empty(), !param.decoded);

  std::vector<uint8_t> buffer(expected[0].size());
  for (int n = 0; n < kClipFrames; ++n) {
    ASSERT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk) << n;
    ASSERT_EQ(buffer, expected[static_cast<size_t>(n)]) << "frame " << n << " read in order";
  }
  EXPECT_TRUE(reader.IsAtEnd());
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);

  std::vector<int> order(kClipFrames);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(12));
  for (const int n : order) {
    ASSERT_EQ(Read(reader, n), expected[static_cast<size_t>(n)]) << "frame " << n << " jumped to";
  }
}

constexpr const char* kGop12 = " -g 12 -keyint_min 12 -sc_threshold 0";

INSTANTIATE_TEST_SUITE_P(
    Codecs, AviReaderFfmpegTest,
    ::testing::Values(
        DecodeCase{"raw_bgr24", "-c:v rawvideo -pix_fmt bgr24", 50, 30, true, kRgb24, "bgr24", false},
        DecodeCase{"raw_bgra", "-c:v rawvideo -pix_fmt bgra", 50, 30, true, kRgb32, "bgra", false},
        DecodeCase{"raw_yuyv422", "-c:v rawvideo -pix_fmt yuyv422", 48, 30, true, kYuy2, "yuyv422", false},
        DecodeCase{"raw_yv12", "-c:v rawvideo -pix_fmt yuv420p -vtag YV12", 48, 30, true, kYv12, "yuv420p", false},
        DecodeCase{"mjpeg", "-c:v mjpeg -q:v 3", 48, 32, true, kYv12, "yuv420p", true},
        DecodeCase{"mjpeg_rgb", "-c:v mjpeg -q:v 3", 48, 32, false, kRgb24, "bgr24", true},
        DecodeCase{"ffv1", "-c:v ffv1 -pix_fmt yuv420p", 48, 32, true, kYv12, "yuv420p", true},
        DecodeCase{"huffyuv", "-c:v huffyuv -pix_fmt yuv422p", 48, 32, true, kYuy2, "yuyv422", true},
        DecodeCase{"utvideo_rgb", "-c:v utvideo -pix_fmt gbrp", 48, 32, true, kRgb24, "bgr24", true},
        DecodeCase{"mpeg4_bframes", "-c:v mpeg4 -q:v 4 -bf 2 -g 12", 64, 48, true, kYv12, "yuv420p", true},
        DecodeCase{"h264_bframes",
                   "-c:v libx264 -preset veryfast -pix_fmt yuv420p -x264-params bframes=2:keyint=12:min-keyint=12:scenecut=0",
                   64, 48, true, kYv12, "yuv420p", true},
        DecodeCase{"h264_width_not_multiple_of_4", "-c:v libx264 -preset veryfast -pix_fmt yuv420p", 66, 48, true,
                   kRgb24, "bgr24", true}),
    [](const ::testing::TestParamInfo<DecodeCase>& case_info) { return std::string(case_info.param.name); });

class AviReaderDecodingTest : public AviReaderFfmpegTest {};

TEST_F(AviReaderDecodingTest, Compressed320x240ComesOutYv12And322x240AsRgb24) {
  const DecodeCase yv12{"", "-c:v mpeg4 -q:v 4", 320, 240, true, kYv12, "yuv420p", true};
  AviReader reader;
  ASSERT_EQ(reader.Open(Encode(yv12, 2), true, false), AviReader::kOk);
  EXPECT_EQ(reader.ColourSpace(), kYv12);
  EXPECT_EQ(reader.Describe(), "file \"" + dir_.File("clip.avi") + "\", reading YV12, decompressor MPEG-4 part 2");
  const DecodeCase odd{"", "-c:v mpeg4 -q:v 4", 322, 240, true, kRgb24, "bgr24", true};
  ASSERT_EQ(reader.Open(Encode(odd, 2), true, false), AviReader::kOk);
  EXPECT_EQ(reader.ColourSpace(), kRgb24);
  EXPECT_EQ(reader.Describe(), "file \"" + dir_.File("clip.avi") + "\", reading RGB24, decompressor MPEG-4 part 2");
}

TEST_F(AviReaderDecodingTest, JumpRestartsAtTheKeyFrameBeforeAndPassesOverTheFramesBetween) {
  const std::string options = std::string("-c:v mpeg4 -q:v 4 -bf 0") + kGop12;
  const DecodeCase stream{"", options.c_str(), 64, 48, true, kYv12, "yuv420p", true};
  const std::string avi = Encode(stream, 60);
  const auto expected = testing::FfmpegDecodedFrames(avi, "yuv420p", 64, 48, dir_.File("ref.raw"));
  ASSERT_EQ(expected.size(), 60u);
  AviReader reader;
  ASSERT_EQ(reader.Open(avi, true, false), AviReader::kOk);
  EXPECT_EQ(Read(reader, 0), expected[0]);
  EXPECT_EQ(Read(reader, 50), expected[50]);
  EXPECT_EQ(reader.LastRestart(), 48);
  EXPECT_EQ(reader.PassedOver(), 2);  // frames 48 and 49
  // The next frame in order needs no restart.
  EXPECT_EQ(Read(reader, 51), expected[51]);
  EXPECT_EQ(reader.LastRestart(), 48);
  EXPECT_EQ(reader.PassedOver(), 2);
  std::vector<uint8_t> buffer(expected[0].size());
  EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), 60), AviReader::kBadFrameNumber);
  EXPECT_TRUE(reader.ErrorText(AviReader::kBadFrameNumber).ends_with("Bad frame number occured!"));
}

// A capture program that drops a frame writes an empty sample in its place.
TEST_F(AviReaderDecodingTest, EmptySampleIsAZeroFrameWithStatus5AndReadingGoesOn) {
  const DecodeCase param{"", "-c:v mjpeg -q:v 3", 48, 32, true, kYv12, "yuv420p", true};
  const std::string source = Encode(param, 6);
  const auto expected = testing::FfmpegDecodedFrames(source, "yuv420p", 48, 32, dir_.File("ref.raw"));
  ASSERT_EQ(expected.size(), 6u);
  AviContainer container;
  ASSERT_TRUE(container.Open(source));
  ContainerStream& video = *container.VideoStream(0);
  testing::AviBuilder builder;
  testing::AviStreamSpec plan;
  plan.handler = "MJPG";
  plan.format.resize(static_cast<size_t>(video.FormatSize()));
  ASSERT_TRUE(video.ReadFormat(plan.format.data(), video.FormatSize()));
  const int stream = builder.AddStream(plan);
  for (int64_t sample = 0; sample < 6; ++sample) {
    builder.AddSample(stream, sample == 3 ? std::vector<uint8_t>() : testing::ReadWholeSample(video, sample));
  }
  const std::string avi = dir_.File("dropped.avi");
  builder.Write(avi, testing::AviIndexLayout::kClassicRelative);

  AviReader reader;
  ASSERT_EQ(reader.Open(avi, true, false), AviReader::kOk);
  std::vector<uint8_t> buffer(expected[0].size(), 0xAA);
  for (int n = 0; n < 3; ++n) {
    ASSERT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);
    EXPECT_EQ(buffer, expected[static_cast<size_t>(n)]);
  }
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kReadFailed);
  EXPECT_EQ(buffer, std::vector<uint8_t>(buffer.size(), 0));
  ASSERT_EQ(reader.ReadNextRaw(buffer.data()), AviReader::kOk);
  EXPECT_EQ(buffer, expected[4]);
  // Jumping back over the gap delivers the same frames.
  EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), 3), AviReader::kReadFailed);
  EXPECT_EQ(Read(reader, 5), expected[5]);
  EXPECT_EQ(Read(reader, 2), expected[2]);
}

}  // namespace
}  // namespace vidmetra
