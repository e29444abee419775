// Our per-frame PSNR of the Y component must equal what FFmpeg's psnr filter prints for the same clips.
#include <gtest/gtest.h>

#include "support/byte_files.h"
#include "support/command.h"
#include "support/psnr_values.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

using testing::CsvValues;
using testing::FfmpegPsnrY;
using testing::RunCommand;

struct ClipCase {
  const char* size;
  const char* pix_fmt;  // FFmpeg's name
  const char* format;   // ours
};

class FfmpegPsnr : public ::testing::TestWithParam<ClipCase> {};

TEST_P(FfmpegPsnr, PerFrameLumaPsnrMatches) {
  if (!testing::HaveProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  const ClipCase c = GetParam();
  vidmetra::testing::TempDir dir;
  const std::string raw = std::string(" -f rawvideo -pix_fmt ") + c.pix_fmt + " -s " + c.size + " ";
  const std::string original = dir.File("original.yuv");
  const std::string processed = dir.File("processed.yuv");
  ASSERT_EQ(RunCommand(std::string("ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=") + c.size +
                       ":rate=25:duration=0.4 -pix_fmt " + c.pix_fmt + " -f rawvideo " + original)
                .exit_code,
            0);
  ASSERT_EQ(RunCommand("ffmpeg -loglevel error -y" + raw + "-i " + original +
                       " -vf noise=alls=12:allf=t -pix_fmt " + c.pix_fmt + " -f rawvideo " + processed)
                .exit_code,
            0);
  const std::string stats = dir.File("stats.log");
  ASSERT_EQ(RunCommand("ffmpeg -loglevel error -y" + raw + "-i " + processed + raw + "-i " + original +
                       " -lavfi \"[0:v][1:v]psnr=stats_file=" + stats + "\" -f null -")
                .exit_code,
            0);
  const std::vector<double> expected = FfmpegPsnrY(testing::ReadText(stats));
  ASSERT_EQ(expected.size(), 10u);

  const auto run = RunCommand(std::string(VIDMETRA_CLI) + " -q --metric psnr --component Y --size " + c.size +
                              " --format " + c.format + " --csv " + dir.path().string() + " --csv-name ours.csv " +
                              original + " " + processed);
  ASSERT_EQ(run.exit_code, 0) << run.output;
  const std::vector<double> ours = CsvValues(testing::ReadText(dir.File("ours.csv")));
  ASSERT_EQ(ours.size(), expected.size());
  for (size_t i = 0; i < ours.size(); ++i) {
    // FFmpeg prints two decimals: ours must lie within that rounding of its figure.
    EXPECT_NEAR(ours[i], expected[i], 0.005 + 1e-4) << "frame " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, FfmpegPsnr,
                         ::testing::Values(ClipCase{"176x144", "yuv420p", "iyuv"},
                                           ClipCase{"178x146", "yuv420p", "iyuv"},
                                           ClipCase{"176x144", "yuv444p", "yuv"},
                                           ClipCase{"178x146", "gray", "y"}));

// The common case: a raw original against an encode in AVI. The encode is decoded by our reader, FFmpeg decodes
// it for its filter; both must measure the same.
TEST(FfmpegPsnrOfAvi, RawOriginalAgainstH264InAviMatchesAndNamesTheDecoder) {
  if (!testing::HaveProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  vidmetra::testing::TempDir dir;
  const std::string raw = " -f rawvideo -pix_fmt yuv420p -s 176x144 ";
  const std::string original = dir.File("original.yuv");
  const std::string encoded = dir.File("encoded.avi");
  ASSERT_EQ(RunCommand("ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=176x144:rate=25:duration=0.4"
                       " -pix_fmt yuv420p -f rawvideo " + original).exit_code, 0);
  ASSERT_EQ(RunCommand("ffmpeg -loglevel error -y" + raw + "-i " + original +
                       " -c:v libx264 -preset veryfast -crf 32 -x264-params bframes=2:keyint=4 " + encoded).exit_code,
            0);
  const std::string stats = dir.File("stats.log");
  // AVI holds no presentation times; frames are paired by their place in display order, as ours are.
  ASSERT_EQ(RunCommand("ffmpeg -loglevel error -y -i " + encoded + raw + "-i " + original +
                       " -lavfi \"[0:v]setpts=N[e];[1:v]setpts=N[o];[e][o]psnr=stats_file=" + stats +
                       "\" -f null -").exit_code,
            0);
  const std::vector<double> expected = FfmpegPsnrY(testing::ReadText(stats));
  ASSERT_EQ(expected.size(), 10u);

  const auto run = RunCommand(std::string(VIDMETRA_CLI) + " -q --json --metric psnr --component Y --size 176x144" +
                              " --format iyuv --csv " + dir.path().string() + " --csv-name ours.csv " + original +
                              " " + encoded);
  ASSERT_EQ(run.exit_code, 0) << run.output;
  const std::vector<double> ours = CsvValues(testing::ReadText(dir.File("ours.csv")));
  ASSERT_EQ(ours.size(), expected.size());
  for (size_t i = 0; i < ours.size(); ++i) EXPECT_NEAR(ours[i], expected[i], 0.005 + 1e-4) << "frame " << i;
  EXPECT_NE(run.output.find("\"decoder\":\"H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10\""), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("\"decoder\":null"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace vidmetra
