// The command line's contract with scripts: exit codes, one-line usage errors, summaries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "cli_fixture.h"
#include "support/byte_files.h"

namespace vidmetra {
namespace {

TEST_F(CliTest, HelpVersionAndMetricList) {
  EXPECT_EQ(Cli("--help").exit_code, 0);
  const auto version = Cli("--version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_NE(version.output.find("vidmetra-cli"), std::string::npos);
  const auto list = Cli("--list-metrics");
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_EQ(list.output.rfind("psnr", 0), 0u) << list.output;
  EXPECT_NE(list.output.find("max_difference"), std::string::npos);
  const auto compressors = Cli("--list-compressors");
  EXPECT_EQ(compressors.exit_code, 0);
  EXPECT_EQ(compressors.output.rfind("DIB   Uncompressed RGB", 0), 0u) << compressors.output;
  EXPECT_NE(compressors.output.find("FFV1  FFV1 lossless"), std::string::npos) << compressors.output;
  EXPECT_NE(compressors.output.find("quality  data-rate  key-frame-interval\n"), std::string::npos);
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndOneLine) {
  const char* cases[][2] = {
      {"", "no input files"},
      {"--metric nosuch a.yuv b.yuv", "unknown metric 'nosuch'"},
      {"--size 16x16 --component Q a.yuv b.yuv", "unknown --component 'Q'"},
      {"--size 16x0 a.yuv b.yuv", "--size must be"},
      {"a.yuv b.yuv", "needs --size"},
      {"--size 16x16 a.yuv", "give the original and at least one processed file"},
      {"--size 16x16 --format nv12 a.yuv b.yuv", "unknown --format"},
      {"--size 16x16 --config x=1 a.yuv b.yuv", "takes no configuration"},
      {"--bogus", "bogus"},
      {"--size 16x16 -d a.yuv -d b.yuv", "name the original with -r"},
      {"--threads 0 --size 16x16 a.yuv b.yuv", "--threads"},
      {"--size 16x16 a.avi b.avi", "apply to raw inputs only"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cli(c[0]).exit_code, 2) << c[0];
    const std::string errors = Errors();
    EXPECT_NE(errors.find(c[1]), std::string::npos) << c[0] << ": " << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << c[0] << ": " << errors;
  }
}

TEST_F(CliTest, SuccessfulRunPrintsAveragesAndWritesTheCsv) {
  const auto run = Cli("--size 16x16 --format iyuv --csv " + dir.path().string() + " " + In("orig.yuv") + " " +
                       In("enc.yuv"));
  EXPECT_EQ(run.exit_code, 0) << Errors();
  EXPECT_NE(run.output.find("PSNR_YYUV orig.yuv enc.yuv: average"), std::string::npos) << run.output;
  EXPECT_NE(testing::ReadText(dir.File("psnr_yyuv_orig_enc.csv")).find("AVG: "), std::string::npos);
  EXPECT_NE(Errors().find("Done!"), std::string::npos);
}

TEST_F(CliTest, JsonSummaryAndExplicitRoles) {
  const auto run = Cli("--json -q --size 16x16 --metric mse -r " + In("orig.yuv") + " -d " + In("enc.yuv"));
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output.rfind("{\"status\":2,", 0), 0u) << run.output;
  // Frames differ by 2, 0 and 1 on luma: mean MSE (4 + 0 + 1) / 3.
  EXPECT_NE(run.output.find("\"average\":1.66666663"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"csv\":null"), std::string::npos);
  EXPECT_TRUE(Errors().empty()) << Errors();
}

TEST_F(CliTest, RoleOptionsTakeOneFileEach) {
  // A processed file named before the positional original must not become the original.
  const auto distorted_first = Cli("--json -q --size 16x16 -d " + In("enc.yuv") + " " + In("orig.yuv"));
  EXPECT_EQ(distorted_first.exit_code, 0) << Errors();
  EXPECT_NE(distorted_first.output.find("\"files\":[\"" + In("orig.yuv") + "\",\"" + In("enc.yuv") + "\"]"),
            std::string::npos)
      << distorted_first.output;
  const auto reference_then_positional = Cli("--json -q --size 16x16 -r " + In("orig.yuv") + " " + In("enc.yuv"));
  EXPECT_EQ(reference_then_positional.exit_code, 0) << Errors();
  EXPECT_NE(reference_then_positional.output.find("\"files\":[\"" + In("orig.yuv") + "\",\"" + In("enc.yuv") +
                                                  "\"]"),
            std::string::npos)
      << reference_then_positional.output;
}

TEST_F(CliTest, PartialFailureExitsWithOneAndNothingMeasuredWithTwo) {
  const auto partial = Cli("--size 16x16 " + In("orig.yuv") + " " + In("enc.yuv") + " " + In("missing.yuv"));
  EXPECT_EQ(partial.exit_code, 1);
  EXPECT_NE(Errors().find("Failed to open"), std::string::npos);
  EXPECT_EQ(Cli("--size 16x16 " + In("missing.yuv") + " " + In("enc.yuv")).exit_code, 2);
  EXPECT_NE(Errors().find("Failed to open original sequence! Measurement aborted"), std::string::npos);
}

TEST_F(CliTest, CsvFileThatCannotBeWrittenExitsWithOne) {
  const auto run = Cli("--size 16x16 --csv " + In("no/such/folder") + " " + In("orig.yuv") + " " + In("enc.yuv"));
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(Errors().find("Failed to save CSV to"), std::string::npos) << Errors();
}

TEST_F(CliTest, QuietRunsStillSayWhenNotEverythingWasMeasured) {
  EXPECT_EQ(Cli("-q --size 16x16 " + In("missing.yuv") + " " + In("enc.yuv")).exit_code, 2);
  EXPECT_NE(Errors().find("not everything was measured"), std::string::npos) << Errors();
}

TEST_F(CliTest, ShorterProcessedFileMeasuresTheCommonFrames) {
  const auto run = Cli("--json -q --size 16x16 " + In("orig.yuv") + " " + In("short.yuv"));
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.output.find("\"frames\":1,"), std::string::npos) << run.output;
}

TEST_F(CliTest, EveryBuiltInMetricMeasuresEndToEnd) {
  const char* metrics[] = {"psnr", "ssim", "vqm", "blocking_measure", "blurring_measure", "delta", "msad", "mse"};
  for (const char* metric : metrics) {
    const auto run = Cli(std::string("--json -q --size 16x16 --metric ") + metric + " " + In("orig.yuv") + " " +
                         In("enc.yuv"));
    EXPECT_EQ(run.exit_code, 0) << metric << ": " << Errors();
    EXPECT_EQ(run.output.rfind("{\"status\":2,", 0), 0u) << metric << ": " << run.output;
    EXPECT_NE(run.output.find("\"frames\":3,"), std::string::npos) << metric << ": " << run.output;
  }
}

TEST_F(CliTest, ThreadCountChangesNoMeasuredValue) {
  // Pictures large enough to be split into several bands, with texture and noise.
  const std::vector<uint8_t> original = testing::PatternBytes(5 * 72 * 64 * 3 / 2, 7);
  std::vector<uint8_t> processed = original;
  const std::vector<uint8_t> noise = testing::PatternBytes(processed.size(), 8);
  for (size_t i = 0; i < processed.size(); ++i) processed[i] = static_cast<uint8_t>(processed[i] + noise[i] % 9 - 4);
  testing::WriteBytes(In("big_orig.yuv"), original);
  testing::WriteBytes(In("big_enc.yuv"), processed);
  const char* metrics[] = {"psnr", "ssim", "vqm", "blocking_measure", "blurring_measure", "delta", "msad", "mse"};
  for (const char* metric : metrics) {
    std::string csv[3];
    const char* threads[] = {"--threads 1", "", "--threads 3"};
    for (int i = 0; i < 3; ++i) {
      const std::string folder = In(std::string(metric) + std::to_string(i));
      std::filesystem::create_directory(folder);
      const auto run = Cli(std::string("-q --size 72x64 --format iyuv --csv ") + folder + " --metric " + metric +
                           " " + threads[i] + " " + In("big_orig.yuv") + " " + In("big_enc.yuv"));
      ASSERT_EQ(run.exit_code, 0) << metric << " " << threads[i] << ": " << Errors();
      for (const auto& file : std::filesystem::directory_iterator(folder)) csv[i] += testing::ReadText(file.path());
    }
    EXPECT_NE(csv[0].find("AVG"), std::string::npos) << metric;
    EXPECT_EQ(csv[1], csv[0]) << metric;
    EXPECT_EQ(csv[2], csv[0]) << metric;
  }
}

TEST_F(CliTest, LogFileIsAppendedAsUtf16) {
  const std::string log = dir.File("run.log");
  Cli("-q --size 16x16 --log " + log + " " + In("orig.yuv") + " " + In("enc.yuv"));
  const size_t first = testing::ReadText(log).size();
  Cli("-q --size 16x16 --log " + log + " " + In("orig.yuv") + " " + In("enc.yuv"));
  const std::string bytes = testing::ReadText(log);
  EXPECT_GT(first, 0u);
  EXPECT_EQ(bytes.size(), 2 * first);
  EXPECT_NE(bytes.find(std::string("D\0o\0n\0e\0!\0\n\0", 12)), std::string::npos);
}

}  // namespace
}  // namespace vidmetra
