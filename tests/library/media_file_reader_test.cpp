// Files the ffmpeg program wrote in every container the media reader claims must decode to exactly what FFmpeg
// decodes from them, frame for frame, read in order and jumped to at random; damaged and hostile files end in the
// reader's own status.
#include "vidmetra/media_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "support/byte_files.h"
#include "support/decoded_reference.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/open_sequence_reader.h"
#include "vidmetra/reader_registry.h"

namespace vidmetra {
namespace {

struct MediaCase {
  const char* name;
  const char* file;  // the file name, whose ending picks the container
  const char* options;
  const char* encoder;       // FFmpeg's encoder name, for skipping where the build lacks it
  int colour_space;          // what the reader must deliver
  const char* pixel_format;  // what FFmpeg is asked to decode to for the comparison
};

void PrintTo(const MediaCase& param, std::ostream* out) { *out << param.name; }

constexpr int kFrames = 30;
constexpr int kWidth = 64;
constexpr int kHeight = 48;

class MediaFileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg is not installed";
  }

  std::string Encode(const std::string& file, const std::string& options, int frames = kFrames,
                     const std::string& source = "testsrc2") {
    const std::string path = dir_.File(file);
    EXPECT_TRUE(testing::RunFfmpeg("-f lavfi -i " + source + "=size=" + std::to_string(kWidth) + "x" +
                                   std::to_string(kHeight) + ":rate=25 -frames:v " + std::to_string(frames) + " " +
                                   options + " '" + path + "'"))
        << options;
    return path;
  }

  static std::vector<uint8_t> Read(MediaFileReader& reader, int frame) {
    std::vector<uint8_t> buffer(
        static_cast<size_t>(TightFrameBytes(reader.ColourSpace(), reader.Width(), reader.Height())));
    EXPECT_EQ(reader.ReadFrameRaw(buffer.data(), frame), MediaFileReader::kOk) << "frame " << frame;
    return buffer;
  }

  // Every frame in shuffled order equals the reference.
  static void ExpectShuffledReadsMatch(MediaFileReader& reader, const std::vector<std::vector<uint8_t>>& expected,
                                       unsigned seed) {
    std::vector<int> order(expected.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
    for (const int n : order) ASSERT_EQ(Read(reader, n), expected[static_cast<size_t>(n)]) << "frame " << n << " jumped to";
  }

  testing::TempDir dir_;
};

class MediaFileReaderFfmpegTest : public MediaFileReaderTest, public ::testing::WithParamInterface<MediaCase> {};

TEST_P(MediaFileReaderFfmpegTest, FramesEqualFfmpegsDecodeInOrderAndShuffled) {
  const MediaCase& param = GetParam();
  if (!testing::HaveFfmpegEncoder(param.encoder)) GTEST_SKIP() << "this ffmpeg has no " << param.encoder << " encoder";
  const std::string path = Encode(param.file, param.options);
  const auto expected = testing::FfmpegDecodedFrames(path, param.pixel_format, kWidth, kHeight, dir_.File("ref.raw"));
  ASSERT_EQ(expected.size(), static_cast<size_t>(kFrames));

  std::string failure;
  std::unique_ptr<SequenceReader> opened = OpenSequenceReader(path, 0, 0, 0, true, &failure);
  ASSERT_NE(opened, nullptr) << failure;
  auto& reader = dynamic_cast<MediaFileReader&>(*opened);
  EXPECT_EQ(reader.ColourSpace(), param.colour_space);
  EXPECT_EQ(reader.Width(), kWidth);
  EXPECT_EQ(reader.Height(), kHeight);
  ASSERT_EQ(reader.FrameCount(), kFrames);
  EXPECT_FALSE(reader.DecoderName().empty());
  EXPECT_NE(reader.Describe().find(std::string(", reading ") + ColourSpaceLabel(param.colour_space) + ","),
            std::string::npos)
      << reader.Describe();

  std::vector<uint8_t> buffer(expected[0].size());
  for (int n = 0; n < kFrames; ++n) {
    ASSERT_EQ(reader.ReadNextRaw(buffer.data()), MediaFileReader::kOk) << n;
    ASSERT_EQ(buffer, expected[static_cast<size_t>(n)]) << "frame " << n << " read in order";
  }
  EXPECT_TRUE(reader.IsAtEnd());
  EXPECT_EQ(reader.ReadNextRaw(buffer.data()), MediaFileReader::kOk);
  ExpectShuffledReadsMatch(reader, expected, 7);
}

constexpr const char* kX264 = "-c:v libx264 -preset veryfast -pix_fmt yuv420p -x264-params bframes=3:keyint=8:min-keyint=8:scenecut=0";

INSTANTIATE_TEST_SUITE_P(
    Containers, MediaFileReaderFfmpegTest,
    ::testing::Values(
        MediaCase{"y4m_420", "clip.y4m", "-pix_fmt yuv420p", "wrapped_avframe", kYv12, "yuv420p"},
        MediaCase{"y4m_422", "clip.y4m", "-pix_fmt yuv422p", "wrapped_avframe", kYuy2, "yuyv422"},
        MediaCase{"y4m_444", "clip.y4m", "-pix_fmt yuv444p", "wrapped_avframe", kYuv, "yuv444p"},
        MediaCase{"y4m_grey", "clip.y4m", "-pix_fmt gray", "wrapped_avframe", kY, "gray"},
        MediaCase{"mp4_h264_bframes", "clip.mp4", kX264, "libx264", kYv12, "yuv420p"},
        MediaCase{"mkv_ffv1", "clip.mkv", "-c:v ffv1 -pix_fmt yuv420p -g 5", "ffv1", kYv12, "yuv420p"},
        MediaCase{"mkv_ffv1_rgb", "clip.mkv", "-c:v ffv1 -pix_fmt bgr0", "ffv1", kRgb24, "bgr24"},
        MediaCase{"webm_vp9", "clip.webm", "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -g 10 -pix_fmt yuv420p",
                  "libvpx-vp9", kYv12, "yuv420p"},
        MediaCase{"ts_h264", "clip.ts", kX264, "libx264", kYv12, "yuv420p"},
        MediaCase{"annexb_264", "clip.264", kX264, "libx264", kYv12, "yuv420p"},
        MediaCase{"hevc_265", "clip.265", "-c:v libx265 -preset ultrafast -x265-params log-level=none:keyint=8:bframes=2",
                  "libx265", kYv12, "yuv420p"},
        MediaCase{"ivf_vp9", "clip.ivf", "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -g 10", "libvpx-vp9", kYv12,
                  "yuv420p"},
        // Full-range pictures keep their sample values, as FFmpeg's decode to the same full-range format does.
        MediaCase{"mov_mjpeg_full_range", "clip.mov", "-c:v mjpeg -pix_fmt yuvj444p -q:v 3", "mjpeg", kYuv,
                  "yuvj444p"}),
    [](const ::testing::TestParamInfo<MediaCase>& case_info) { return std::string(case_info.param.name); });

// An open GOP starts groups with pictures that lean on the group before: a jump into such a group must still give
// what decoding from the start gives.
TEST_F(MediaFileReaderTest, OpenGopMkvReadShuffledEqualsSequentialDecode) {
  if (!testing::HaveFfmpegEncoder("libx264")) GTEST_SKIP() << "this ffmpeg has no libx264 encoder";
  const std::string path =
      Encode("open_gop.mkv", "-c:v libx264 -preset veryfast -pix_fmt yuv420p "
                             "-x264-params open-gop=1:bframes=3:b-pyramid=normal:keyint=10:min-keyint=10:scenecut=0", 60);
  MediaFileReader reader;
  ASSERT_EQ(reader.Open(path), MediaFileReader::kOk) << reader.FailureDetail();
  ASSERT_EQ(reader.FrameCount(), 60);
  std::vector<std::vector<uint8_t>> sequential;
  for (int n = 0; n < 60; ++n) sequential.push_back(Read(reader, n));
  const auto expected = testing::FfmpegDecodedFrames(path, "yuv420p", kWidth, kHeight, dir_.File("ref.raw"));
  ASSERT_EQ(expected, sequential);
  ExpectShuffledReadsMatch(reader, expected, 3);
  // The jumps were seeks to the key frames the index knows, not readings from the start of the file.
  EXPECT_EQ(reader.Rewinds(), 0);
}

TEST_F(MediaFileReaderTest, FileNamedOtherwiseIsFoundByItsContent) {
  const std::string mkv = Encode("clip.mkv", "-c:v ffv1 -pix_fmt yuv420p", 3);
  const std::string unknown = dir_.File("clip.data");
  testing::WriteBytes(unknown, testing::ReadFileBytes(mkv));
  EXPECT_EQ(DefaultReaderRegistry().Select(unknown, 0, 0)->kind, "FFmpeg media");
  std::unique_ptr<SequenceReader> reader = OpenSequenceReader(unknown, 0, 0, 0, true);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->FrameCount(), 3);
  // Bytes no container starts with stay raw: the raw reader needs a size for them.
  const std::string raw = dir_.File("clip.raw");
  testing::WriteBytes(raw, testing::PatternBytes(kWidth * kHeight * 3, 5));
  EXPECT_EQ(DefaultReaderRegistry().Select(raw, 0, 0), nullptr);
}

TEST_F(MediaFileReaderTest, TenBitInputIsRefusedNamingItsPixelFormat) {
  const std::string path = Encode("deep.y4m", "-pix_fmt yuv420p10le -strict -1", 2);
  std::string failure;
  EXPECT_EQ(OpenSequenceReader(path, 0, 0, 0, true, &failure), nullptr);
  EXPECT_EQ(failure, "Error when reading file \"" + path + "\": 10-bit input is not supported yet: yuv420p10le");
}

// Matroska simply ends where the file ends; a MOV (MP4) file's sample table lists samples the file no longer holds.
TEST_F(MediaFileReaderTest, TruncatedFileDeliversTheFramesBeforeTheDamageAndSaysWhereItEnded) {
  for (const std::string file : {"whole.mkv", "whole.mov"}) {
    const std::string whole = Encode(file, "-c:v ffv1 -pix_fmt yuv420p -g 1 -movflags +faststart", 20);
    const auto expected = testing::FfmpegDecodedFrames(whole, "yuv420p", kWidth, kHeight, dir_.File("ref.raw"));
    ASSERT_EQ(expected.size(), 20u) << file;
    std::vector<uint8_t> bytes = testing::ReadFileBytes(whole);
    bytes.resize(bytes.size() * 2 / 3);
    const std::string cut = dir_.File("cut_" + file);
    testing::WriteBytes(cut, bytes);

    MediaFileReader reader;
    ASSERT_EQ(reader.Open(cut), MediaFileReader::kOk) << file << ": " << reader.FailureDetail();
    ASSERT_GT(reader.FrameCount(), 5) << file;
    ASSERT_LT(reader.FrameCount(), 20) << file;
    for (int n = 0; n < reader.FrameCount(); ++n) {
      EXPECT_EQ(Read(reader, n), expected[static_cast<size_t>(n)]) << file << " frame " << n;
    }
    EXPECT_NE(reader.Describe().find("damaged or cut short after frame " + std::to_string(reader.FrameCount() - 1)),
              std::string::npos)
        << reader.Describe();
  }
}

TEST_F(MediaFileReaderTest, HostileFilesEndInTheReadersOwnStatus) {
  MediaFileReader reader;
  const std::string nothing = dir_.File("nothing.mkv");
  testing::WriteBytes(nothing, testing::PatternBytes(5000, 9));
  EXPECT_EQ(reader.Open(nothing), MediaFileReader::kOpenFailed);
  EXPECT_TRUE(reader.ErrorText(MediaFileReader::kOpenFailed).starts_with("Error when reading file \"" + nothing))
      << reader.ErrorText(MediaFileReader::kOpenFailed);

  const std::string sound = dir_.File("sound.mkv");
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i sine=duration=0.2 -c:a pcm_s16le '" + sound + "'"));
  EXPECT_EQ(reader.Open(sound), MediaFileReader::kNoVideoStream);

  // Headers that claim a picture no file of this size could hold, or none at all.
  for (const std::string header : {"W0 H0", "W30000 H30000", "W-5 H10", "W65536 H2"}) {
    const std::string y4m = dir_.File("claim.y4m");
    testing::WriteText(y4m, "YUV4MPEG2 " + header + " F25:1 C420jpeg\nFRAME\n" + std::string(64, 'x'));
    EXPECT_NE(reader.Open(y4m), MediaFileReader::kOk) << header;
    EXPECT_EQ(reader.Width(), 0) << header;
  }
  std::vector<uint8_t> none;
  EXPECT_EQ(reader.ReadNextRaw(none.data()), MediaFileReader::kOk);  // nothing open, nothing to read
}

}  // namespace
}  // namespace vidmetra
