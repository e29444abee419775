// Whole runs through the main dialog: the engine's worker on its own thread, the progress dialog in between.
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "modal_answer.h"
#include "shell_fixture.h"
#include "support/byte_files.h"
#include "yuv_file_dialog.h"

namespace vidmetra::ui::testing {
namespace {

constexpr int kFrames = 12;
constexpr size_t kFrameBytes = 16 * 16 * 3 / 2;

// PSNR of the Y planes of one frame pair, computed here from the bytes themselves.
double ReferencePsnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int frame) {
  double sum = 0;
  for (size_t i = 0; i < 16 * 16; ++i) {
    const double d = double(a[frame * kFrameBytes + i]) - double(b[frame * kFrameBytes + i]);
    sum += d * d;
  }
  return sum == 0 ? 100.0 : std::min(100.0, 10 * std::log10(65025.0 / (sum / 256)));
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The per-frame values of a CSV file: the lines after the "AVG:" line.
std::vector<double> CsvValues(const std::filesystem::path& folder) {
  std::vector<double> values;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    if (item.path().extension() != ".csv") continue;
    std::ifstream file(item.path());
    bool after_average = false;
    for (std::string line; std::getline(file, line);) {
      if (after_average) values.push_back(std::stod(line));
      after_average = after_average || line.rfind("AVG:", 0) == 0;
    }
  }
  return values;
}

class RunTest : public ShellTest {
 protected:
  // A PSNR run over two generated YUV files, CSV on; returns once "Process" was pressed.
  MainDialog& StartPsnrRun() {
    MainDialog& dialog = Open();
    const MainDialogControls& c = dialog.controls();
    csv_folder_ = dir_.path() / "csv";
    std::filesystem::create_directories(csv_folder_);
    settings_.csv.output_folder = csv_folder_.string();
    SelectMetric("psnr");
    c.save_csv->click();
    original_ = WriteYuv("orig.yuv", kFrames, 1);
    processed_ = WriteYuv("enc.yuv", kFrames, 1000);
    for (const auto& [input, path] : {std::pair{0, original_}, std::pair{1, processed_}}) {
      prompts_.files = {path};
      WhenModalOpens<YuvFileDialog>([](YuvFileDialog& yuv) {
        yuv.width()->setText("16");
        yuv.height()->setText("16");
        yuv.colour_mode()->setCurrentIndex(yuv.colour_mode()->findData(kIyuv));
        yuv.ok()->click();
      });
      c.browse[static_cast<size_t>(input)]->click();
    }
    EXPECT_TRUE(c.process->isEnabled());
    c.process->click();
    return dialog;
  }

  // Waits until the worker has handed over its record.
  static void WaitForRecord(ProgressDialog& progress) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.continue_button()->isEnabled(); }, 20000));
  }

  std::filesystem::path csv_folder_;
  std::string original_;
  std::string processed_;
};

TEST_F(RunTest, ProcessMeasuresTwoYuvFilesAndHandsTheRecordToFinishRun) {
  MainDialog& dialog = StartPsnrRun();
  const MainDialogControls& c = dialog.controls();
  QSignalSpy results(&dialog, &MainDialog::resultsReady);
  ResultsBundle bundle;
  std::vector<float> stored;
  QObject::connect(&dialog, &MainDialog::resultsReady, [&](const ResultsBundle& shown) {
    bundle = shown;
    for (const FrameValue& value : shown.store->Values(shown.store->SeriesIds().front())) stored.push_back(value.value);
  });
  ProgressDialog* progress = dialog.progress();
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(c.process->text(), "Stop");
  EXPECT_FALSE(c.exit->isEnabled());
  EXPECT_FALSE(c.metric->isEnabled());
  std::vector<int> positions;
  QObject::connect(progress->bar(), &QProgressBar::valueChanged, [&](int value) { positions.push_back(value); });
  WaitForRecord(*progress);
  EXPECT_FALSE(progress->stop()->isEnabled());
  EXPECT_EQ(progress->bar()->maximum(), kFrames);
  // The bar went through every frame and, the measurement over, is back at its minimum without a "0%" on it.
  ASSERT_FALSE(positions.empty());
  EXPECT_EQ(*std::max_element(positions.begin(), positions.end()), kFrames - 1);
  EXPECT_EQ(progress->bar()->value(), 0);
  EXPECT_FALSE(progress->bar()->isTextVisible());

  std::vector<std::string> lines;
  for (int i = 0; i < progress->lines()->count(); ++i) lines.push_back(progress->lines()->item(i)->text().toStdString());
  ASSERT_FALSE(lines.empty());
  const auto has = [&](const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  };
  EXPECT_TRUE(has(" : Measuring YYUV PSNR orig.yuv enc.yuv ")) << lines.front();
  EXPECT_TRUE(has(" : CSV saved to \""));
  for (const std::string& line : lines) EXPECT_EQ(line.substr(2, 1) + line.substr(5, 1) + line.substr(8, 3), ":: : ") << line;
  EXPECT_GT(std::filesystem::file_size(dir_.File("log.txt")), 0u);

  progress->continue_button()->click();
  EXPECT_EQ(dialog.progress(), nullptr);
  ASSERT_EQ(results.count(), 1);
  EXPECT_EQ(bundle.inputs.size(), 2u);
  EXPECT_EQ(bundle.inputs.at(0).path, original_);
  EXPECT_EQ(c.process->text(), "Process");
  EXPECT_TRUE(c.exit->isEnabled());
  EXPECT_FALSE(c.browse[2]->isEnabled());  // it was disabled before the run and stays so

  const std::vector<uint8_t> a = ReadBytes(original_);
  const std::vector<uint8_t> b = ReadBytes(processed_);
  const std::vector<double> csv = CsvValues(csv_folder_);
  ASSERT_EQ(csv.size(), size_t(kFrames));
  ASSERT_EQ(stored.size(), size_t(kFrames));
  for (int frame = 0; frame < kFrames; ++frame) {
    const double expected = ReferencePsnr(a, b, frame);
    EXPECT_NEAR(stored[size_t(frame)], expected, 1e-4 * expected) << frame;
    EXPECT_NEAR(csv[size_t(frame)], expected, 1e-4 * expected) << frame;
  }
}

TEST_F(RunTest, StopAnsweredNoLetsTheRunFinishAndYesStopsItWithTheCsvStillWritten) {
  for (const bool stop : {false, true}) {
    MainDialog& dialog = StartPsnrRun();
    ProgressDialog* progress = dialog.progress();
    ASSERT_NE(progress, nullptr);
    prompts_.yes_no = {stop};
    prompts_.questions.clear();
    // The worker waits inside its progress report while this runs, so the question lands after frame 3 exactly.
    bool closed_while_running = true;
    QObject::connect(progress->bar(), &QProgressBar::valueChanged, progress, [&, progress](int value) {
      if (value != 3) return;
      closed_while_running = dialog.close();
      progress->stop()->click();
    });
    QSignalSpy results(&dialog, &MainDialog::resultsReady);
    WaitForRecord(*progress);
    EXPECT_EQ(prompts_.questions, std::vector<std::string>{"Are you sure?"});
    EXPECT_FALSE(closed_while_running);
    // Frames 0 to 3 are measured before the stop is seen at the next frame's check.
    EXPECT_EQ(CsvValues(csv_folder_).size(), stop ? 4u : size_t(kFrames)) << stop;
    // Closing the main window while the record waits for "Continue" does nothing.
    EXPECT_FALSE(dialog.close());
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "settings.reg"));
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "codec_config"));
    progress->continue_button()->click();
    // A reference run that was stopped did not complete: there is nothing whole to show.
    EXPECT_EQ(results.count(), stop ? 0 : 1);
    std::filesystem::remove_all(csv_folder_);
  }
}

TEST_F(RunTest, AutoCloseLeavesTheProgressDialogByItselfAndIsRemembered) {
  const std::string wav = dir_.File("done.wav");
  MainDialog& started = StartPsnrRun();
  settings_.input.play_wav = true;
  settings_.input.wav_path = wav;
  ProgressDialog* progress = started.progress();
  ASSERT_NE(progress, nullptr);
  EXPECT_FALSE(progress->auto_close()->isChecked());
  progress->auto_close()->setChecked(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return started.progress() == nullptr; }, 20000));
  EXPECT_TRUE(settings_.input.auto_close_progress);
  EXPECT_EQ(started.finish_sound().source(), QUrl::fromLocalFile(QString::fromStdString(wav)));
  EXPECT_EQ(started.controls().process->text(), "Process");
}

}  // namespace
}  // namespace vidmetra::ui::testing
