#include "vidmetra/measurement_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "support/driver_fakes.h"
#include "vidmetra/bad_frame_selection.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

class MeasurementWorkerTest : public ::testing::Test {
 protected:
  MeasurementWorkerTest() : catalogue_("/nonexistent/plugins") {
    settings_.csv.enabled = true;
    settings_.csv.output_folder = dir_.path().string();
    settings_.request.metric_index = *catalogue_.FindByName("psnr");
    context_.catalogue = &catalogue_;
    context_.preparer = &preparer_;
    context_.opener = &opener_;
    context_.log_path = dir_.File("log.txt");
    context_.log_echo = nullptr;
    context_.run_flag = &run_flag_;
  }
  void AddFile(const std::string& path, std::vector<uint8_t> levels, bool exists = true) {
    if (exists) opener_.clips[path] = {16, 16, std::move(levels), -1};
    settings_.request.files.push_back({path, 0, 0, 0});
  }
  testing::TempDir dir_;
  MetricCatalogue catalogue_;
  testing::FakeOpener opener_;
  testing::FakePreparer preparer_;
  MeasurementSettings settings_;
  WorkerContext context_;
  std::atomic<bool> run_flag_{false};
};

TEST_F(MeasurementWorkerTest, SuccessfulRunWritesTheCsvAndClearsItsSinks) {
  AddFile("orig.yuv", {10, 20});
  AddFile("enc.yuv", {11, 20});
  const RunRecord record = MeasurementWorker(settings_, context_);
  EXPECT_TRUE(record.success);
  EXPECT_EQ(record.status, (RunStatus{2, 2}));
  EXPECT_EQ(record.csv_paths, std::vector<std::string>{dir_.File("psnr_yyuv_orig_enc.csv")});
  EXPECT_TRUE(std::filesystem::exists(record.csv_paths.at(0)));
  EXPECT_EQ(settings_.request.log, nullptr);
  EXPECT_EQ(settings_.request.progress, nullptr);
  EXPECT_FALSE(run_flag_);
  EXPECT_GT(std::filesystem::file_size(context_.log_path), 0u);
}

TEST_F(MeasurementWorkerTest, PartlyFailedRunStillWritesTheCsv) {
  AddFile("orig.yuv", {10, 20});
  AddFile("enc.yuv", {11, 20});
  AddFile("gone.yuv", {}, false);
  const RunRecord record = MeasurementWorker(settings_, context_);
  EXPECT_EQ(record.status.measurement, 1);
  EXPECT_EQ(record.csv_paths.size(), 1u);
}

TEST_F(MeasurementWorkerTest, BadFramesFollowOnlyAFullySuccessfulRun) {
  AddFile("orig.yuv", {10, 20, 30});
  AddFile("enc.yuv", {11, 20, 38});
  settings_.input.inputs = {settings_.request.files[0], settings_.request.files[1], InputFileEntry{}};
  settings_.bad_frames = {dir_.path().string(), kOriginalVsProcessed, 2, 0, true, {}, {}};
  const RunRecord record = MeasurementWorker(settings_, context_);
  ASSERT_TRUE(record.bad_frames.has_value());
  // PSNR is lowest where the frames differ most: frame 2, then frame 0.
  EXPECT_EQ(*record.bad_frames, (std::vector<int32_t>{2, 0}));
  EXPECT_FALSE(record.bad_frames_failed);
  ASSERT_EQ(record.csv_paths.size(), 1u);
  const std::vector<std::string> expected = {record.csv_paths[0], dir_.File("orig_fr_2.bmp"), dir_.File("enc_fr_2.bmp"),
                                             dir_.File("orig_fr_0.bmp"), dir_.File("enc_fr_0.bmp")};
  EXPECT_EQ(record.files_written, expected);
  for (size_t i = 1; i < expected.size(); ++i) EXPECT_TRUE(std::filesystem::exists(expected[i])) << expected[i];

  // One file that fails to open: the CSV file, but no bad frames.
  for (const auto& item : std::filesystem::directory_iterator(dir_.path())) {
    if (item.path().extension() == ".bmp") std::filesystem::remove(item.path());
  }
  AddFile("gone.yuv", {}, false);
  const RunRecord partial = MeasurementWorker(settings_, context_);
  EXPECT_EQ(partial.status.measurement, 1);
  EXPECT_FALSE(partial.bad_frames.has_value());
  EXPECT_FALSE(partial.bad_frames_failed);
  EXPECT_EQ(partial.files_written, partial.csv_paths);
  EXPECT_EQ(partial.csv_paths.size(), 1u);
  for (const auto& item : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_NE(item.path().extension(), ".bmp") << item.path();
  }
}

TEST_F(MeasurementWorkerTest, RunThatMeasuredNothingWritesNoCsv) {
  AddFile("orig.yuv", {10, 20});
  const RunRecord record = MeasurementWorker(settings_, context_);
  EXPECT_FALSE(record.success);
  EXPECT_EQ(record.status, (RunStatus{0, 0}));
  EXPECT_TRUE(record.csv_paths.empty());
  for (const auto& item : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_NE(item.path().extension(), ".csv") << item.path();
  }
}

TEST_F(MeasurementWorkerTest, UsesTheSelectedMetricsConfigurationAndCopiesTheCaption) {
  AddFile("orig.yuv", {10});
  AddFile("enc.yuv", {10});
  settings_.input.metric_configurations.assign(static_cast<size_t>(catalogue_.Count()), "");
  settings_.input.metric_configurations[static_cast<size_t>(settings_.request.metric_index)] = "psnr settings";
  settings_.caption.text = "caption";
  settings_.csv.enabled = false;
  const RunRecord record = MeasurementWorker(settings_, context_);
  EXPECT_EQ(settings_.request.configuration, "psnr settings");
  EXPECT_EQ(settings_.request.visualization.caption.text, "caption");
  EXPECT_TRUE(record.csv_paths.empty());
}

// Throws once, on the first line that starts with `trigger`; shows every other line.
class BreakingDisplay : public LineDisplay {
 public:
  explicit BreakingDisplay(std::string trigger) : trigger_(std::move(trigger)) {}
  void AddLine(const std::string& line) override {
    if (!broken_ && line.find(" : " + trigger_) != std::string::npos) {
      broken_ = true;
      throw std::runtime_error("display broke");
    }
    lines.push_back(line);
  }
  std::vector<std::string> lines;

 private:
  std::string trigger_;
  bool broken_ = false;
};

TEST_F(MeasurementWorkerTest, AnythingThrownBecomesALogLineAndAFailure) {
  AddFile("orig.yuv", {10, 20});
  AddFile("enc.yuv", {11, 20});
  // Inside the driver, and after it (while the CSV file is being written).
  for (const char* trigger : {"Loaded", "Saving CSV"}) {
    BreakingDisplay display(trigger);
    context_.display = &display;
    const RunRecord record = MeasurementWorker(settings_, context_);
    EXPECT_FALSE(record.success) << trigger;
    EXPECT_EQ(record.status.measurement, 1) << trigger;
    EXPECT_FALSE(run_flag_);
    EXPECT_EQ(settings_.request.log, nullptr);
    const auto reported = [](const std::string& line) {
      return line.find(" : Measurement aborted by an unexpected error: display broke") != std::string::npos;
    };
    EXPECT_EQ(std::count_if(display.lines.begin(), display.lines.end(), reported), 1) << trigger;
  }
}

TEST(MeasuringLine, NamesComponentTitleAndFileNames) {
  EXPECT_EQ(MeasuringLine("PSNR", {"/v/orig.yuv", "enc.yuv"}, 0), "Measuring YYUV PSNR orig.yuv enc.yuv ");
}

}  // namespace
}  // namespace vidmetra
