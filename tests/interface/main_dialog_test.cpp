#include <gtest/gtest.h>

#include <filesystem>

#include "compressor_dialog.h"
#include "csv_visualization_dialog.h"
#include "modal_answer.h"
#include "shell_fixture.h"
#include "support/byte_files.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/fourcc.h"
#include "yuv_file_dialog.h"

namespace vidmetra::ui::testing {
namespace {

using ReadinessTest = ShellTest;

TEST_F(ReadinessTest, FollowsTheMetricsInputCountAndComparativeMode) {
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  SelectMetric("psnr");
  SetPath(0, "orig.avi");
  EXPECT_FALSE(c.process->isEnabled());
  EXPECT_EQ(c.status->text(), "Select video files and options");
  SetPath(1, "enc.avi");
  EXPECT_TRUE(c.process->isEnabled());
  EXPECT_EQ(c.status->text(), "Ready");
  c.comparative->click();
  EXPECT_TRUE(c.browse[2]->isEnabled());
  EXPECT_FALSE(c.process->isEnabled());
  SetPath(2, "enc2.avi");
  EXPECT_TRUE(c.process->isEnabled());

  // One input: every file is measured alone; comparing needs both processed files, whatever the original.
  SelectMetric("blocking_measure");
  SetPath(2, "");
  EXPECT_FALSE(c.process->isEnabled());
  SetPath(2, "enc2.avi");
  SetPath(0, "");
  EXPECT_TRUE(c.process->isEnabled());
  c.comparative->click();
  SetPath(1, "");
  EXPECT_FALSE(c.process->isEnabled());
  SetPath(0, "orig.avi");
  EXPECT_TRUE(c.process->isEnabled());
}

TEST_F(ReadinessTest, VisualizationChangesTheInputCountOfTheBlurringMeasure) {
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  SelectMetric("blurring_measure");
  SetPath(1, "enc.avi");
  EXPECT_TRUE(c.process->isEnabled());
  c.save_visualization->click();
  EXPECT_FALSE(c.process->isEnabled());
  EXPECT_TRUE(c.csv_visualization_advanced->isEnabled());
  SetPath(0, "orig.avi");
  EXPECT_TRUE(c.process->isEnabled());
}

TEST_F(ReadinessTest, BadFrameModeFollowsComparativeMode) {
  MainDialog& dialog = Open();
  settings_.bad_frames.mode = 2;
  dialog.UpdateReadiness();
  EXPECT_EQ(settings_.bad_frames.mode, 0);
  dialog.controls().comparative->click();
  EXPECT_EQ(settings_.bad_frames.mode, 1);
  settings_.bad_frames.mode = 3;
  dialog.UpdateReadiness();
  EXPECT_EQ(settings_.bad_frames.mode, 3);
}

TEST_F(ShellTest, ComponentsFollowTheMetricAndStartAtItsFirst) {
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  SelectMetric("psnr");
  c.components[kComponentL]->click();
  SelectMetric("ssim");  // Y only: L is no longer possible, so Y is taken
  EXPECT_TRUE(c.components[kComponentY]->isChecked());
  EXPECT_EQ(settings_.request.component, kComponentY);
  for (size_t i = 1; i < c.components.size(); ++i) EXPECT_FALSE(c.components[i]->isEnabled()) << i;
  SelectMetric("blurring_measure");
  EXPECT_TRUE(c.components[kComponentV]->isEnabled());
  EXPECT_FALSE(c.components[kComponentR]->isEnabled());
  EXPECT_FALSE(c.metric_settings->isEnabled());
  EXPECT_FALSE(c.metric_settings_label->isVisibleTo(&dialog));
}

TEST_F(ShellTest, BrowsedBitmapsAloneRuleOutBadFrames) {
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  c.save_bad_frames->click();
  EXPECT_EQ(settings_.bad_frames.count, 10);
  EXPECT_TRUE(c.bad_frames_advanced->isEnabled());
  prompts_.files = {std::string("/clips/a.BMP"), std::string("/clips/b.bmp")};
  c.browse[0]->click();
  c.browse[1]->click();
  EXPECT_EQ(c.paths[1]->text(), "/clips/b.bmp");
  EXPECT_FALSE(c.save_bad_frames->isEnabled());
  EXPECT_FALSE(c.bad_frames_advanced->isEnabled());
  EXPECT_EQ(settings_.input.last_original, "/clips/a.BMP");
  EXPECT_NE(prompts_.filters.front().find("All supported files (AVI / AVS / BMP / YUV)"), std::string::npos);

  // A raw YUV file in capitals asks for its size; once given, bad frames are possible again.
  prompts_.files = {std::string("/clips/c.YUV")};
  WhenModalOpens<YuvFileDialog>([](YuvFileDialog& yuv) {
    yuv.width()->setText("352");
    yuv.height()->setText("288");
    yuv.ok()->click();
  });
  c.browse[1]->click();
  EXPECT_EQ(settings_.input.inputs[1], (InputFileEntry{"/clips/c.YUV", 352, 288, kYv12}));
  EXPECT_TRUE(c.save_bad_frames->isEnabled());
  EXPECT_TRUE(c.bad_frames_advanced->isEnabled());
}

TEST_F(ShellTest, CancelledYuvSizeLeavesThePathFieldAndEntryAsTheyWere) {
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  SetPath(0, "/clips/old.avi");
  prompts_.files = {std::string("/clips/new.yuv")};
  WhenModalOpens<YuvFileDialog>([](YuvFileDialog& yuv) { yuv.cancel()->click(); });
  c.browse[0]->click();
  EXPECT_EQ(c.paths[0]->text(), "/clips/old.avi");
  EXPECT_EQ(settings_.input.inputs[0], (InputFileEntry{"/clips/old.avi", 0, 0, 0}));
  EXPECT_EQ(settings_.input.last_original, "/clips/new.yuv");
}

TEST_F(ShellTest, EachRefusedStartSaysWhatIsMissing) {
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  struct Case {
    std::string metric;
    bool comparative;
    InputPaths paths;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"psnr", false, {"", "b.avi", ""}, "Choose original file!"},
      {"psnr", false, {"a.avi", "   ", ""}, "Choose first processed file!"},
      {"blocking_measure", false, {"", "", "c.avi"}, "Choose at least original or first processed file!"},
      {"blocking_measure", true, {"a.avi", "", "c.avi"}, "Choose first processed file!"},
      {"psnr", true, {"a.avi", "b.avi", " "}, "Choose second processed file!"},
  };
  for (const Case& test : cases) {
    SelectMetric(test.metric);
    if (c.comparative->isChecked() != test.comparative) c.comparative->click();
    for (size_t i = 0; i < 3; ++i) SetPath(i, test.paths[i]);
    prompts_.errors.clear();
    c.process->setEnabled(true);  // the start check stands on its own, whatever the readiness said
    c.process->click();
    ASSERT_EQ(prompts_.errors, std::vector<std::string>{test.message}) << test.message;
    EXPECT_EQ(dialog.progress(), nullptr);
    EXPECT_EQ(c.process->text(), "Process");
    EXPECT_TRUE(c.browse[0]->isEnabled());
  }
}

TEST_F(ShellTest, YuvPathWithTrailingSpaceIsTrimmedAndAsksForItsSize) {
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  SelectMetric("blocking_measure");
  SetPath(0, "/clips/a.Yuv  ");
  WhenModalOpens<YuvFileDialog>([](YuvFileDialog& yuv) {
    EXPECT_EQ(yuv.file_name()->text(), "a.Yuv");
    yuv.cancel()->click();
  });
  c.process->click();
  EXPECT_EQ(dialog.progress(), nullptr);
  EXPECT_TRUE(prompts_.errors.empty());
  EXPECT_EQ(settings_.input.inputs[0], (InputFileEntry{"/clips/a.Yuv", 0, 0, 0}));
  EXPECT_EQ(settings_.input.last_original, "/clips/a.Yuv");
  EXPECT_TRUE(c.exit->isEnabled());
}

TEST_F(ShellTest, TwoConfigurableMetricsShowTheirOwnConfigurationInTurn) {
  const std::filesystem::path plugins = dir_.path() / "plugins";
  std::filesystem::create_directories(plugins);
  std::filesystem::copy_file(VIDMETRA_SAMPLE_PLUGIN, plugins / "a.vmp");
  std::filesystem::copy_file(VIDMETRA_SAMPLE_PLUGIN, plugins / "b.vmp");
  const MetricCatalogue catalogue(plugins.string());
  ASSERT_EQ(catalogue.Count(), BuiltInCatalogue().Count() + 2);
  const int32_t first = catalogue.Count() - 2;
  MainDialog dialog(catalogue, settings_, store_, prompts_, ShellPaths{dir_.File("log.txt"), "", ""});
  const MainDialogControls& c = dialog.controls();
  settings_.input.metric_configurations[static_cast<size_t>(first)] = "threshold=3";
  settings_.input.metric_configurations[static_cast<size_t>(first) + 1] = "threshold=7";
  c.metric->setCurrentIndex(c.metric->findData(first));
  EXPECT_EQ(c.metric_settings_label->text(), "threshold=3");
  EXPECT_TRUE(c.metric_settings->isEnabled());
  c.metric->setCurrentIndex(c.metric->findData(first + 1));
  EXPECT_EQ(c.metric_settings_label->text(), "threshold=7");
  c.metric->setCurrentIndex(c.metric->findData(first));
  EXPECT_EQ(c.metric_settings_label->text(), "threshold=3");
  EXPECT_TRUE(c.metric_settings_label->isVisibleTo(&dialog));
}

TEST_F(ShellTest, SettingsComeFromTheKeyAndGoBackToItOnExit) {
  {
    MainDialog& dialog = Open();
    const MainDialogControls& c = dialog.controls();
    EXPECT_TRUE(c.show_results->isChecked());  // first start: the viewer is on
    SelectMetric("ssim");
    c.save_csv->click();
    c.comparative->click();
    c.show_results->click();
    c.exit->click();
  }
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  EXPECT_EQ(c.metric->currentData().toInt(), MetricIndex("ssim"));
  EXPECT_TRUE(c.save_csv->isChecked());
  EXPECT_TRUE(c.csv_visualization_advanced->isEnabled());
  EXPECT_TRUE(c.comparative->isChecked());
  EXPECT_TRUE(c.browse[2]->isEnabled());
  EXPECT_FALSE(c.show_results->isChecked());
  EXPECT_FALSE(c.bad_frames_advanced->isEnabled());
  for (QLineEdit* path : c.paths) EXPECT_TRUE(path->text().isEmpty());
}

TEST_F(ShellTest, CompressorChoiceComesFromCodecConfigAndGoesBackToItOnExit) {
  const std::string config = dir_.File("codec_config");
  // Neither an empty file nor one whose record claims more than the file holds replaces the default.
  for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, vidmetra::testing::PatternBytes(30, 7)}) {
    vidmetra::testing::WriteBytes(config, bytes);
    Open();
    EXPECT_EQ(settings_.visualization.compressor, CompressorSettings{});
  }
  MainDialog& dialog = Open();
  const MainDialogControls& c = dialog.controls();
  c.save_visualization->click();
  WhenModalOpens<CsvVisualizationDialog>([](CsvVisualizationDialog& options) {
    WhenModalOpens<CompressorDialog>([](CompressorDialog& chooser) {
      chooser.compressor()->setCurrentIndex(chooser.compressor()->findData(FourCc("FMP4")));
      chooser.key_frame_interval()->setValue(25);
      chooser.quality()->setValue(90);
      chooser.ok()->click();
    });
    options.controls().choose_compression->click();
    options.ok()->click();
  });
  c.csv_visualization_advanced->click();
  const CompressorSettings chosen = settings_.visualization.compressor;
  EXPECT_EQ(chosen.StateText(), "g=25");
  // Nothing is written before the program ends.
  EXPECT_EQ(std::filesystem::file_size(config), 30u);
  c.exit->click();
  CompressorSettings stored;
  ASSERT_TRUE(LoadCompressorSettings(config, stored));
  EXPECT_EQ(stored, chosen);
  EXPECT_EQ(std::filesystem::file_size(config), 24u + 4u);

  Open();
  EXPECT_EQ(settings_.visualization.compressor, chosen);
  EXPECT_EQ(settings_.visualization.compressor.quality, 9000);
}

TEST_F(ShellTest, HelpButtonsOpenTheShippedPagesWhenTheyExist) {
  const std::filesystem::path help = dir_.path() / "help";
  std::filesystem::create_directories(help);
  vidmetra::testing::WriteText((help / "metrics.html").string(), "<html></html>");
  settings_ = MeasurementSettings{};
  MainDialog dialog(BuiltInCatalogue(), settings_, store_, prompts_,
                    ShellPaths{dir_.File("log.txt"), "", help.string() + "/"});
  QComboBox& metric = *dialog.controls().metric;
  metric.setCurrentIndex(metric.findData(MetricIndex("ssim")));
  dialog.controls().measure_info->click();
  dialog.controls().website->click();
  dialog.controls().feedback->click();
  ASSERT_EQ(prompts_.addresses.size(), 3u);
  EXPECT_EQ(prompts_.addresses[0], "file://" + (help / "metrics.html").string() + "#ssim");
  EXPECT_EQ(prompts_.addresses[1], "https://vidmetra.org/");
  EXPECT_EQ(prompts_.addresses[2], "https://vidmetra.org/help/feedback.html");
  // With the whole help shipped, "Website" and "Feedback" stay on this computer too.
  vidmetra::testing::WriteText((help / "index.html").string(), "<html></html>");
  vidmetra::testing::WriteText((help / "feedback.html").string(), "<html></html>");
  dialog.controls().website->click();
  dialog.controls().feedback->click();
  ASSERT_EQ(prompts_.addresses.size(), 5u);
  EXPECT_EQ(prompts_.addresses[3], "file://" + (help / "index.html").string());
  EXPECT_EQ(prompts_.addresses[4], "file://" + (help / "feedback.html").string());
}

}  // namespace
}  // namespace vidmetra::ui::testing
