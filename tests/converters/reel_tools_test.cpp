// packreel and bitmapreel: the AVI files they write, read back through our own container parser and decoded by
// FFmpeg.
#include <gtest/gtest.h>

#include "bitmapreel.h"
#include "converter_fixtures.h"
#include "packreel.h"
#include "support/byte_files.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "support/video_probe.h"
#include "vidmetra/avi_container.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/converters/dib_file.h"
#include "vidmetra/converters/tool_messages.h"
#include "vidmetra/open_sequence_reader.h"

namespace vidmetra::converters {
namespace {

using testing::ReadFileBytes;
using testing::RunTool;
using testing::Slice;
using testing::TempDir;

// Every sample of the AVI's video stream as stored; a sample that cannot be read is left out, so a count shows it.
struct Samples {
  std::vector<std::vector<uint8_t>> bytes;
  std::vector<bool> key;
};

Samples ReadSamples(const std::string& avi) {
  Samples samples;
  AviContainer container;
  if (!container.Open(avi) || container.VideoStream(0) == nullptr) return samples;
  ContainerStream& video = *container.VideoStream(0);
  for (int64_t n = 0; n < video.Length(); ++n) {
    int64_t size = 0;
    video.Read(n, nullptr, 0, size);
    std::vector<uint8_t> sample(static_cast<size_t>(size));
    if (!video.Read(n, sample.data(), size, size)) continue;
    samples.bytes.push_back(std::move(sample));
    samples.key.push_back(video.IsKeyFrame(n));
  }
  return samples;
}

// The top-down R, G, B pixels of a stored sample of bottom-up padded B, G, R rows.
std::vector<uint8_t> SampleRgb(const std::vector<uint8_t>& sample, int width, int height) {
  DibImage image = DibImage::Bgr24(PictureSize{width, height});
  if (sample.size() != image.pixels.size()) return {};
  image.pixels = sample;
  return testing::TopDownRgb(image);
}

std::string RgbOut(const std::string& input, const std::string& output) {
  return "-i '" + input + "' -f rawvideo -pix_fmt rgb24 '" + output + "'";
}

// The case on random frames, 18 pixels wide so that rows are padded: 3..5 of ten frames become samples 0 to
// 2 read from byte 3 × F on, each a key frame holding the formulas' pixels.
TEST(PackReel, WritesTheRangeFromItsFirstFrameOnAsSamplesFromZero) {
  TempDir dir;
  const PictureSize size{18, 10};
  const size_t frame_bytes = size.SequenceFrameBytes();
  const std::vector<uint8_t> sequence = testing::PatternBytes(10 * frame_bytes, 5);
  testing::WriteBytes(dir.File("in.seq"), sequence);
  std::map<std::string, std::string> fields{
      {"seq", dir.File("in.seq")}, {"from", "3"}, {"to", "5"}, {"width", "18"}, {"height", "10"},
      {"avi", dir.File("out.avi")}};
  ASSERT_EQ(RunTool(PackReelTool(), fields), "ok!");
  std::vector<uint8_t> expected;
  for (size_t k = 3; k <= 5; ++k) {
    const std::vector<uint8_t> rgb = testing::ReferenceRgb(Slice(sequence, k * frame_bytes, frame_bytes), 18, 10);
    expected.insert(expected.end(), rgb.begin(), rgb.end());
  }
  const Samples samples = ReadSamples(dir.File("out.avi"));
  ASSERT_EQ(samples.bytes.size(), 3u);
  for (size_t n = 0; n < 3; ++n) {
    EXPECT_TRUE(samples.key[n]);
    EXPECT_EQ(SampleRgb(samples.bytes[n], 18, 10), Slice(expected, n * size.Pixels() * 3, size.Pixels() * 3)) << n;
  }
  if (testing::FfmpegAvailable()) {
    const testing::ProbedVideo probed = testing::ProbeVideo(dir.File("out.avi"));
    EXPECT_EQ(probed.codec, "rawvideo");
    EXPECT_EQ(probed.frames, 3);
    EXPECT_EQ(probed.width, 18);
    EXPECT_EQ(probed.height, 10);
    ASSERT_TRUE(testing::RunFfmpeg(RgbOut(dir.File("out.avi"), dir.File("decoded.rgb"))));
    EXPECT_EQ(ReadFileBytes(dir.File("decoded.rgb")), expected);
  }

  // Past the end of the sequence nothing is left to read: an empty AVI and still "ok!".
  fields["from"] = "12";
  fields["to"] = "20";
  EXPECT_EQ(RunTool(PackReelTool(), fields), "ok!");
  EXPECT_TRUE(ReadSamples(dir.File("out.avi")).bytes.empty());

  // A missing sequence leaves an existing AVI file as it was.
  const std::vector<uint8_t> before = ReadFileBytes(dir.File("out.avi"));
  fields["seq"] = dir.File("absent.seq");
  EXPECT_EQ(RunTool(PackReelTool(), fields), "unable to open seq file.");
  EXPECT_EQ(ReadFileBytes(dir.File("out.avi")), before);
  fields["seq"] = dir.File("in.seq");
  fields["avi"] = dir.File("no/such/folder.avi");
  EXPECT_EQ(RunTool(PackReelTool(), fields),
            "Error when writing file \"" + dir.File("no/such/folder.avi") + "\": Failed to create file!");
  fields["width"] = "17";
  EXPECT_EQ(RunTool(PackReelTool(), fields), kWrongPictureSize);
}

// A sequence FFmpeg wrote, every frame through "所有帧": FFmpeg decodes the AVI to as many frames of the size,
// holding the formulas' pixels.
TEST(PackReel, EveryFrameOfASequenceFfmpegWroteDecodesToTheFormulasPixels) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  ASSERT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc2=size=38x22:rate=25 -frames:v 7 -pix_fmt yuv420p -f rawvideo '" +
                                 dir.File("ffmpeg.seq") + "'"));
  EXPECT_EQ(RunTool(PackReelTool(), {{"seq", dir.File("ffmpeg.seq")},
                                     {"all", "1"},
                                     {"width", "38"},
                                     {"height", "22"},
                                     {"avi", dir.File("all.avi")}}),
            "ok!");
  const std::vector<uint8_t> sequence = ReadFileBytes(dir.File("ffmpeg.seq"));
  const size_t frame_bytes = PictureSize{38, 22}.SequenceFrameBytes();
  ASSERT_EQ(sequence.size(), 7 * frame_bytes);
  std::vector<uint8_t> expected;
  for (size_t k = 0; k < 7; ++k) {
    const std::vector<uint8_t> rgb = testing::ReferenceRgb(Slice(sequence, k * frame_bytes, frame_bytes), 38, 22);
    expected.insert(expected.end(), rgb.begin(), rgb.end());
  }
  const testing::ProbedVideo probed = testing::ProbeVideo(dir.File("all.avi"));
  EXPECT_EQ(probed.frames, 7);
  EXPECT_EQ(probed.width, 38);
  EXPECT_EQ(probed.height, 22);
  ASSERT_TRUE(testing::RunFfmpeg(RgbOut(dir.File("all.avi"), dir.File("decoded.rgb"))));
  EXPECT_EQ(ReadFileBytes(dir.File("decoded.rgb")), expected);
}

// Numbered bitmaps FFmpeg wrote (30 pixels wide: padded rows) become an AVI FFmpeg decodes to the same pictures.
TEST(BitmapReel, BitmapsFfmpegWroteDecodeFromTheAviAsFromTheBitmaps) {
  if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg not installed";
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  ASSERT_TRUE(
      testing::RunFfmpeg("-f lavfi -i testsrc2=size=30x18:rate=25 -frames:v 5 -pix_fmt bgr24 -start_number 0 '" +
                         folder + "train%03d.bmp'"));
  EXPECT_EQ(RunTool(BitmapReelTool(), {{"dir", folder},
                                       {"name", "train(*)"},
                                       {"all", "1"},
                                       {"digits", "3"},
                                       {"width", "30"},
                                       {"height", "18"},
                                       {"avi", dir.File("train.avi")}}),
            "ok!");
  const testing::ProbedVideo probed = testing::ProbeVideo(dir.File("train.avi"));
  EXPECT_EQ(probed.codec, "rawvideo");
  EXPECT_EQ(probed.frames, 5);
  EXPECT_EQ(probed.width, 30);
  EXPECT_EQ(probed.height, 18);
  ASSERT_TRUE(testing::RunFfmpeg("-start_number 0 " + RgbOut(folder + "train%03d.bmp", dir.File("bitmaps.rgb"))));
  ASSERT_TRUE(testing::RunFfmpeg(RgbOut(dir.File("train.avi"), dir.File("avi.rgb"))));
  EXPECT_EQ(ReadFileBytes(dir.File("bitmaps.rgb")).size(), 5u * 30 * 18 * 3);
  EXPECT_EQ(ReadFileBytes(dir.File("avi.rgb")), ReadFileBytes(dir.File("bitmaps.rgb")));
}

// A range starting at 2 becomes samples from 0 on, each a key frame holding the bitmap's stored rows, which our
// own reader and FFmpeg both read back; the first missing file ends the run with "ok!"; a bitmap of another size
// ends it with a message, the samples before it kept.
TEST(BitmapReel, TheRangeBecomesSamplesFromZeroAndAMismatchedBitmapEndsTheRun) {
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  std::vector<DibImage> images;
  for (int i = 0; i < 4; ++i) {
    images.push_back(testing::RandomBgrBitmap(10, 6, static_cast<uint32_t>(20 + i)));
    testing::WriteBitmap(folder + "f" + std::to_string(i) + ".bmp", images.back());
  }
  std::map<std::string, std::string> fields{{"dir", folder}, {"name", "f(*)"},          {"from", "2"},
                                            {"to", "9"},     {"width", "10"},           {"height", "6"},
                                            {"digits", "0"}, {"avi", dir.File("f.avi")}};
  EXPECT_EQ(RunTool(BitmapReelTool(), fields), "ok!");
  Samples samples = ReadSamples(dir.File("f.avi"));
  ASSERT_EQ(samples.bytes.size(), 2u);
  for (size_t n = 0; n < 2; ++n) {
    EXPECT_EQ(samples.bytes[n], images[n + 2].pixels) << n;
    EXPECT_TRUE(samples.key[n]);
  }
  const auto reader = OpenSequenceReader(dir.File("f.avi"), 0, 0, kRgb24, false);
  ASSERT_NE(reader, nullptr);
  ASSERT_EQ(reader->FrameCount(), 2);
  std::vector<uint8_t> frame(images[0].pixels.size());
  ASSERT_EQ(reader->ReadFrameRaw(frame.data(), 0), 0);
  EXPECT_EQ(frame, images[2].pixels);
  if (testing::FfmpegAvailable()) {
    ASSERT_TRUE(testing::RunFfmpeg(RgbOut(dir.File("f.avi"), dir.File("decoded.rgb"))));
    std::vector<uint8_t> expected = testing::TopDownRgb(images[2]);
    const std::vector<uint8_t> last = testing::TopDownRgb(images[3]);
    expected.insert(expected.end(), last.begin(), last.end());
    EXPECT_EQ(ReadFileBytes(dir.File("decoded.rgb")), expected);
  }

  testing::WriteBitmap(folder + "f2.bmp", testing::RandomBgrBitmap(8, 6, 1));
  fields["from"] = "0";
  EXPECT_EQ(RunTool(BitmapReelTool(), fields), MismatchedBmpMessage("f2.bmp"));
  samples = ReadSamples(dir.File("f.avi"));
  ASSERT_EQ(samples.bytes.size(), 2u);
  EXPECT_EQ(samples.bytes[1], images[1].pixels);
  testing::WriteBytes(folder + "f1.bmp", testing::PatternBytes(70, 3));
  EXPECT_EQ(RunTool(BitmapReelTool(), fields), UnreadableBmpMessage("f1.bmp"));
  fields["width"] = "0";
  EXPECT_EQ(RunTool(BitmapReelTool(), fields), kWrongBitmapSize);
}

}  // namespace
}  // namespace vidmetra::converters
