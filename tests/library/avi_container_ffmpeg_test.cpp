// Files written by the ffmpeg program must give, sample for sample, the bytes FFmpeg itself
// demuxes from them.
#include "vidmetra/avi_container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "support/ffmpeg_tool.h"
#include "support/stream_samples.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::DemuxedPackets;
using testing::FramecrcChecksum;
using testing::FramecrcPacket;
using testing::ReadWholeSample;

constexpr const char* kAudioInput = " -f lavfi -i sine=frequency=440:sample_rate=8000";
constexpr const char* kAudioOutput = " -c:a pcm_s16le -shortest";

// Every sample of the stream against FFmpeg's packets: size, checksum and key-frame flag.
void ExpectSamplesMatch(StreamSource& stream, const std::vector<FramecrcPacket>& packets, bool check_key_frames) {
  ASSERT_FALSE(packets.empty());
  ASSERT_EQ(stream.Length(), static_cast<int64_t>(packets.size()));
  for (size_t i = 0; i < packets.size(); ++i) {
    const int64_t sample = stream.Start() + static_cast<int64_t>(i);
    const std::vector<uint8_t> bytes = ReadWholeSample(stream, sample);
    ASSERT_EQ(static_cast<int64_t>(bytes.size()), packets[i].size) << i;
    ASSERT_EQ(FramecrcChecksum(bytes), packets[i].checksum) << i;
    if (check_key_frames) {
      EXPECT_EQ(stream.IsKeyFrame(sample), packets[i].key_frame) << i;
    }
  }
}

bool ContainsCode(const std::vector<uint8_t>& bytes, std::string_view code) {
  return std::search(bytes.begin(), bytes.end(), code.begin(), code.end()) != bytes.end();
}

struct EncoderCase {
  const char* name;
  const char* video_options;
  bool with_audio;
  const char* handler;
};

void PrintTo(const EncoderCase& param, std::ostream* out) { *out << param.name; }

class AviFfmpegInteropTest : public ::testing::TestWithParam<EncoderCase> {
 protected:
  void SetUp() override {
    if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg is not installed";
  }

  vidmetra::testing::TempDir dir_;
};

TEST_P(AviFfmpegInteropTest, VideoSamplesEqualWhatFfmpegDemuxes) {
  const EncoderCase& param = GetParam();
  const std::string avi = dir_.File("clip.avi");
  const std::string audio_input = param.with_audio ? kAudioInput : "";
  const std::string audio_output = param.with_audio ? kAudioOutput : "";
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc=size=50x30:rate=25" + audio_input + " -frames:v 30" +
                                 audio_output + " " + param.video_options + " '" + avi + "'"));
  AviContainer container;
  ASSERT_TRUE(container.Open(avi));
  ContainerStream* video = container.VideoStream(0);
  ASSERT_NE(video, nullptr);
  ExpectSamplesMatch(*video, DemuxedPackets(avi, "0:v:0", dir_.File("video.crc")), true);

  // The samples laid end to end equal FFmpeg's stream copy byte for byte.
  const std::string raw = dir_.File("video.raw");
  ASSERT_TRUE(testing::RunFfmpeg("-i '" + avi + "' -map 0:v:0 -c copy -f rawvideo '" + raw + "'"));
  std::vector<uint8_t> concatenated;
  for (int64_t n = video->Start(); n <= video->End(); ++n) {
    const std::vector<uint8_t> sample = ReadWholeSample(*video, n);
    concatenated.insert(concatenated.end(), sample.begin(), sample.end());
  }
  EXPECT_EQ(concatenated, testing::ReadFileBytes(raw));

  StreamInfo info;
  ASSERT_TRUE(video->GetInfo(info));
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(&info.handler), 4), std::string_view(param.handler, 4));
  EXPECT_EQ(info.rate / std::max<uint32_t>(info.scale, 1), 25u);
  std::vector<uint8_t> format(static_cast<size_t>(video->FormatSize()));
  ASSERT_GE(format.size(), 40u);
  ASSERT_TRUE(video->ReadFormat(format.data(), static_cast<int64_t>(format.size())));
  int32_t width = 0;
  int32_t height = 0;
  std::memcpy(&width, format.data() + 4, 4);
  std::memcpy(&height, format.data() + 8, 4);
  EXPECT_EQ(width, 50);
  EXPECT_EQ(std::abs(height), 30);  // FFmpeg stores raw RGB top-down, with a negative height

  ContainerStream* pcm = container.AudioStream(0);
  ASSERT_EQ(pcm != nullptr, param.with_audio);
  if (pcm) ExpectSamplesMatch(*pcm, DemuxedPackets(avi, "0:a:0", dir_.File("audio.crc")), false);
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, AviFfmpegInteropTest,
    ::testing::Values(EncoderCase{"RawBgr24", "-c:v rawvideo -pix_fmt bgr24", false, "\0\0\0\0"},
                      EncoderCase{"RawBgr24WithAudio", "-c:v rawvideo -pix_fmt bgr24", true, "\0\0\0\0"},
                      EncoderCase{"Mjpeg", "-c:v mjpeg -q:v 4", false, "MJPG"},
                      EncoderCase{"MjpegWithAudio", "-c:v mjpeg -q:v 4", true, "MJPG"},
                      EncoderCase{"Ffv1", "-c:v ffv1 -g 8", false, "FFV1"},
                      EncoderCase{"Mpeg4", "-c:v mpeg4 -g 12", false, "FMP4"},
                      EncoderCase{"Mpeg4WithAudio", "-c:v mpeg4 -g 12", true, "FMP4"}),
    [](const ::testing::TestParamInfo<EncoderCase>& test) { return std::string(test.param.name); });

// FFmpeg starts OpenDML indexes (indx, ix##, AVIX forms) only once a file outgrows its first
// gigabyte; this file does, so its samples are found through the super indexes alone.
TEST(AviFfmpegOpenDmlTest, FileBeyondOneGibibyteIsIndexedThroughItsSuperIndexes) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg is not installed";
  vidmetra::testing::TempDir dir;
  if (std::filesystem::space(dir.path()).available < (uint64_t{4} << 30)) GTEST_SKIP() << "needs 1.1 GB of room";
  const std::string avi = dir.File("large.avi");
  ASSERT_TRUE(testing::RunFfmpeg(std::string("-f lavfi -i testsrc=size=1280x720:rate=25") + kAudioInput +
                                 " -frames:v 400 -c:v rawvideo -pix_fmt bgr24" + kAudioOutput + " '" + avi + "'"));
  std::vector<uint8_t> head(65536);
  {
    ReadOnlyFile file;
    ASSERT_TRUE(file.Open(avi));
    ASSERT_GT(file.Size(), uint64_t{1} << 30);
    ASSERT_TRUE(file.ReadAt(0, head.data(), head.size()));
  }
  ASSERT_TRUE(ContainsCode(head, "indx"));

  AviContainer container;
  ASSERT_TRUE(container.Open(avi));
  ASSERT_NE(container.VideoStream(0), nullptr);
  ASSERT_NE(container.AudioStream(0), nullptr);
  ExpectSamplesMatch(*container.VideoStream(0), DemuxedPackets(avi, "0:v:0", dir.File("video.crc")), true);
  ExpectSamplesMatch(*container.AudioStream(0), DemuxedPackets(avi, "0:a:0", dir.File("audio.crc")), false);
}

}  // namespace
}  // namespace vidmetra
