// Per-frame PSNR of the Y component for a Y4M original against encodes in every container the media reader claims
// must equal what FFmpeg's psnr filter prints for the same pair; frame alignment must pick the frames FFmpeg's trim
// filter picks.
#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/command.h"
#include "support/ffmpeg_tool.h"
#include "support/psnr_values.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::CsvValues;
using testing::HaveFfmpegEncoder;
using testing::RunCommand;

constexpr int kFrames = 20;

struct EncodeCase {
  const char* name;
  const char* file;
  const char* options;
  const char* encoder;
};

void PrintTo(const EncodeCase& param, std::ostream* out) { *out << param.name; }

class MediaPsnrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::FfmpegAvailable()) GTEST_SKIP() << "ffmpeg is not installed";
  }

  std::string Original(const std::string& pix_fmt, const std::string& name = "original.y4m") {
    const std::string path = dir_.File(name);
    EXPECT_TRUE(testing::RunFfmpeg("-f lavfi -i testsrc2=size=176x144:rate=25 -frames:v " + std::to_string(kFrames) +
                                   " -pix_fmt " + pix_fmt + " '" + path + "'"));
    return path;
  }

  std::string Encode(const std::string& original, const std::string& file, const std::string& options) {
    const std::string path = dir_.File(file);
    EXPECT_TRUE(testing::RunFfmpeg("-i '" + original + "' " + options + " '" + path + "'")) << options;
    return path;
  }

  // FFmpeg's per-frame PSNR-Y of `processed` against `original`, each through its filter chain.
  std::vector<double> FfmpegPsnr(const std::string& processed, const std::string& original,
                                 const std::string& processed_chain = "null") {
    const std::string stats = dir_.File("stats.log");
    EXPECT_TRUE(testing::RunFfmpeg("-i '" + processed + "' -i '" + original + "' -lavfi \"[0:v]" + processed_chain +
                                   "[p];[p][1:v]psnr=stats_file=" + stats + "\" -f null -"));
    return testing::FfmpegPsnrY(testing::ReadText(stats));
  }

  // The run's output with its log lines (standard error) unless `quiet`.
  testing::CommandResult Measure(const std::string& arguments, bool quiet = true) {
    return RunCommand(std::string(VIDMETRA_CLI) + (quiet ? " -q" : "") + " --metric psnr --component Y --csv " +
                      dir_.path().string() + " --csv-name ours.csv " + arguments + " 2>&1");
  }

  std::vector<double> OursCsv() { return CsvValues(testing::ReadText(dir_.File("ours.csv"))); }

  static void ExpectSameValues(const std::vector<double>& ours, const std::vector<double>& expected) {
    ASSERT_EQ(ours.size(), expected.size());
    // FFmpeg prints two decimals: ours must lie within that rounding of its figure.
    for (size_t i = 0; i < ours.size(); ++i) EXPECT_NEAR(ours[i], expected[i], 0.005 + 1e-4) << "frame " << i;
  }

  testing::TempDir dir_;
};

class MediaPsnrEncodeTest : public MediaPsnrTest, public ::testing::WithParamInterface<EncodeCase> {};

TEST_P(MediaPsnrEncodeTest, Y4mOriginalAgainstEncodeMatchesFfmpegPerFrame) {
  const EncodeCase& param = GetParam();
  if (!HaveFfmpegEncoder(param.encoder)) GTEST_SKIP() << "this ffmpeg has no " << param.encoder << " encoder";
  const std::string original = Original("yuv420p");
  const std::string encoded = Encode(original, param.file, param.options);
  const std::vector<double> expected = FfmpegPsnr(encoded, original);
  ASSERT_EQ(expected.size(), static_cast<size_t>(kFrames));
  const auto run = Measure("'" + original + "' '" + encoded + "'");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  ExpectSameValues(OursCsv(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encodes, MediaPsnrEncodeTest,
    ::testing::Values(
        EncodeCase{"mp4_h264_bframes", "enc.mp4", "-c:v libx264 -preset veryfast -crf 30 -bf 3 -g 8", "libx264"},
        EncodeCase{"mkv_ffv1", "enc.mkv", "-vf noise=alls=10:allf=t -c:v ffv1", "ffv1"},
        EncodeCase{"mkv_vp9", "enc.mkv", "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -crf 40 -b:v 0", "libvpx-vp9"},
        EncodeCase{"webm_vp9", "enc.webm", "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -crf 45 -b:v 0",
                   "libvpx-vp9"},
        EncodeCase{"ts_h264", "enc.ts", "-c:v libx264 -preset veryfast -crf 30 -bf 2", "libx264"},
        EncodeCase{"annexb_264", "enc.264", "-c:v libx264 -preset veryfast -crf 30 -bf 2", "libx264"},
        EncodeCase{"ivf_vp9", "enc.ivf", "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -crf 45 -b:v 0",
                   "libvpx-vp9"}),
    [](const ::testing::TestParamInfo<EncodeCase>& case_info) { return std::string(case_info.param.name); });

TEST_F(MediaPsnrTest, FourFourFourAndGreyY4mMatchFfmpeg) {
  for (const std::string pix_fmt : {"yuv444p", "gray"}) {
    const std::string original = Original(pix_fmt, pix_fmt + ".y4m");
    const std::string processed = Encode(original, pix_fmt + "_noisy.y4m", "-vf noise=alls=12:allf=t -pix_fmt " + pix_fmt);
    const std::vector<double> expected = FfmpegPsnr(processed, original);
    ASSERT_EQ(expected.size(), static_cast<size_t>(kFrames)) << pix_fmt;
    const auto run = Measure("'" + original + "' '" + processed + "'");
    ASSERT_EQ(run.exit_code, 0) << run.output;
    ExpectSameValues(OursCsv(), expected);
  }
}

TEST_F(MediaPsnrTest, SkipProcessedAndFramesMeasureWhatTrimLeaves) {
  if (!HaveFfmpegEncoder("libx264")) GTEST_SKIP() << "this ffmpeg has no libx264 encoder";
  const std::string original = Original("yuv420p");
  const std::string encoded = Encode(original, "enc.mp4", "-c:v libx264 -preset veryfast -crf 30 -bf 3 -g 6");
  // FFmpeg pairs frames by time: the trimmed input starts again at 0 so that its first frame meets the original's.
  std::vector<double> expected = FfmpegPsnr(encoded, original, "trim=start_frame=2,setpts=PTS-STARTPTS");
  ASSERT_GE(expected.size(), 10u);
  expected.resize(10);
  const auto run = Measure("--skip-processed 2 --frames 10 '" + original + "' '" + encoded + "'", false);
  ASSERT_EQ(run.exit_code, 0) << run.output;
  ExpectSameValues(OursCsv(), expected);
  EXPECT_EQ(OursCsv().size(), 10u);
  // The log names the range each file was measured over.
  EXPECT_NE(run.output.find("Opened frames 0 to 9 of 20: file \"" + original), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Opened frames 2 to 11 of 20: file \"" + encoded), std::string::npos) << run.output;
}

TEST_F(MediaPsnrTest, TenBitY4mIsRefusedWithExitStatus2) {
  const std::string original = Original("yuv420p");
  const std::string deep = dir_.File("deep.y4m");
  ASSERT_TRUE(testing::RunFfmpeg("-i '" + original + "' -pix_fmt yuv420p10le -strict -1 '" + deep + "'"));
  const auto run = RunCommand(std::string(VIDMETRA_CLI) + " --metric psnr '" + original + "' '" + deep + "' 2>&1");
  EXPECT_EQ(run.exit_code, 2) << run.output;
  EXPECT_NE(run.output.find("10-bit input is not supported yet: yuv420p10le"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace vidmetra
