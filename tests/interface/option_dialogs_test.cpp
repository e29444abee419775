#include <gtest/gtest.h>

#include "advanced_file_dialog.h"
#include "bad_frames_dialog.h"
#include "combo_items.h"
#include "csv_visualization_dialog.h"
#include "metric_configuration_dialog.h"
#include "more_options_dialog.h"
#include "scripted_prompts.h"
#include "vidmetra/colour_space.h"
#include "yuv_file_dialog.h"

namespace vidmetra::ui::testing {
namespace {

TEST(YuvFileDialogTest, InvalidModeShowsYv12AndRefusedSizesStayTyped) {
  ScriptedPrompts prompts;
  for (const int32_t mode : {0, 1, 9}) {
    InputFileEntry entry{"/clips/a.yuv", 0, 0, mode};
    YuvFileDialog dialog(nullptr, entry, prompts);
    EXPECT_EQ(dialog.colour_mode()->currentText(), "YV12") << mode;
  }
  InputFileEntry entry{"/clips/foreman.yuv", 176, 144, kUyvy};
  YuvFileDialog dialog(nullptr, entry, prompts);
  EXPECT_EQ(dialog.file_name()->text(), "foreman.yuv");
  EXPECT_EQ(dialog.width()->text(), "176");
  EXPECT_EQ(dialog.colour_mode()->currentText(), "UYVY");
  dialog.open();
  dialog.width()->setText("352");
  dialog.height()->setText("abc");
  dialog.ok()->click();
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"Specify nonzero width and height for YUV file!"});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(entry.width, 352);
  EXPECT_EQ(entry.height, 0);
  dialog.cancel()->click();
  EXPECT_EQ(dialog.result(), 0);

  YuvFileDialog again(nullptr, entry, prompts);
  again.height()->setText("288");
  again.colour_mode()->setCurrentIndex(again.colour_mode()->findText("IYUV (I420)"));
  again.ok()->click();
  EXPECT_EQ(again.result(), 1);
  EXPECT_EQ(entry, (InputFileEntry{"/clips/foreman.yuv", 352, 288, kIyuv}));
}

TEST(ComboItemsTest, ItemsCarryTheStoredValuesInDisplayOrder) {
  QComboBox combo;
  FillCombo(combo, CaptionPositionItems());
  SelectValue(combo, 1);
  EXPECT_EQ(combo.currentText(), "Bottom-Left Corner");
  SelectValue(combo, 7);
  EXPECT_EQ(combo.currentIndex(), -1);
  EXPECT_EQ(SelectedValue(combo, 42), 42);
  FillCombo(combo, CsvTypeItems());
  combo.setCurrentIndex(0);
  EXPECT_EQ(SelectedValue(combo, -1), kCsvComma);
  EXPECT_EQ(NameGenerationItems(false).size(), 2u);
}

TEST(AdvancedFileDialogTest, MatrixChangesOnlyThroughOk) {
  ScriptedPrompts prompts;
  MeasurementRequest request;
  request.colour_matrix = 5;
  {
    AdvancedFileDialog dialog(nullptr, request, prompts, "");
    EXPECT_FALSE(dialog.rec601()->isChecked());
    EXPECT_FALSE(dialog.pc601()->isChecked());
    dialog.online_information()->click();
    dialog.ok()->click();
    EXPECT_EQ(request.colour_matrix, 5);
    EXPECT_EQ(prompts.addresses, std::vector<std::string>{"https://vidmetra.org/help/matrices.html"});
  }
  request.colour_matrix = kRec601;
  AdvancedFileDialog dialog(nullptr, request, prompts, "");
  EXPECT_TRUE(dialog.rec601()->isChecked());
  dialog.pc601()->click();
  EXPECT_FALSE(dialog.rec601()->isChecked());
  dialog.cancel()->click();
  EXPECT_EQ(request.colour_matrix, kRec601);
  EXPECT_EQ(dialog.result(), 1);
  AdvancedFileDialog confirmed(nullptr, request, prompts, "");
  confirmed.pc601()->click();
  confirmed.ok()->click();
  EXPECT_EQ(request.colour_matrix, kPc601);
}

TEST(MoreOptionsDialogTest, BrowsedWavPathIsKeptEvenWhenCancelled) {
  ScriptedPrompts prompts;
  InputState input;
  input.wav_path = "/sounds/old.wav";
  {
    MoreOptionsDialog dialog(nullptr, input, prompts);
    EXPECT_FALSE(dialog.browse()->isEnabled());
    EXPECT_TRUE(dialog.wav_path()->isEnabled());
    dialog.play_wav()->click();
    EXPECT_TRUE(dialog.browse()->isEnabled());
    prompts.files = {std::string("/sounds/new.wav")};
    dialog.browse()->click();
    EXPECT_EQ(dialog.wav_path()->text(), "/sounds/new.wav");
    dialog.cancel()->click();
  }
  EXPECT_EQ(input.wav_path, "/sounds/new.wav");
  EXPECT_FALSE(input.play_wav);
  EXPECT_NE(prompts.filters.front().find("*.wav"), std::string::npos);
  {
    // Unchecked, the typed path is not taken.
    MoreOptionsDialog dialog(nullptr, input, prompts);
    dialog.wav_path()->setText("/sounds/typed.wav");
    dialog.ok()->click();
    EXPECT_EQ(input.wav_path, "/sounds/new.wav");
  }
  MoreOptionsDialog dialog(nullptr, input, prompts);
  dialog.play_wav()->click();
  dialog.wav_path()->setText("/sounds/typed.wav");
  dialog.ok()->click();
  EXPECT_TRUE(input.play_wav);
  EXPECT_EQ(input.wav_path, "/sounds/typed.wav");
}

TEST(CsvVisualizationDialogTest, DisabledOutputsKeepTheirSettings) {
  ScriptedPrompts prompts;
  MeasurementSettings settings;
  settings.csv = {"/out/csv", "mine", kNameCustom, kCsvSemicolon, false, true};
  settings.visualization.enabled = true;
  settings.caption.position = kBottomRight;
  const CsvOutputSettings before = settings.csv;
  CsvVisualizationDialog dialog(nullptr, settings, prompts);
  const auto& c = dialog.controls();
  EXPECT_EQ(c.csv_folder->text(), "/out/csv");
  EXPECT_EQ(c.csv_name_generation->currentText(), "Custom (type below)");
  EXPECT_EQ(c.csv_type->currentText(), "Type 2 (semicolon-separated)");
  EXPECT_EQ(c.caption_position->currentText(), "Bottom-Right Corner");
  for (QWidget* control : std::initializer_list<QWidget*>{c.csv_folder, c.csv_browse, c.csv_name_generation,
                                                          c.csv_custom_name, c.csv_type, c.csv_unicode}) {
    EXPECT_FALSE(control->isEnabled());
  }
  EXPECT_TRUE(c.vis_folder->isEnabled());
  c.csv_folder->setText("/elsewhere");
  c.csv_type->setCurrentIndex(0);
  c.csv_unicode->setChecked(false);
  prompts.folders = {std::string("/out/vis")};
  c.vis_browse->click();
  c.caption_position->setCurrentIndex(c.caption_position->findText("Top-Right Corner"));
  c.print_frame_number->setChecked(false);
  dialog.ok()->click();
  EXPECT_EQ(settings.csv.output_folder, before.output_folder);
  EXPECT_EQ(settings.csv.separator, before.separator);
  EXPECT_EQ(settings.csv.unicode, before.unicode);
  EXPECT_EQ(settings.visualization.output_folder, "/out/vis");
  EXPECT_EQ(settings.caption.position, kTopRight);
  EXPECT_FALSE(settings.caption.print_frame_number);
  EXPECT_EQ(settings.visualization.caption.position, kTopRight);
  EXPECT_EQ(prompts.folder_titles, std::vector<std::string>{"Select folder"});
}

TEST(CsvVisualizationDialogTest, CustomNameIsTakenOnlyForTheCustomRule) {
  ScriptedPrompts prompts;
  MeasurementSettings settings;
  settings.csv.enabled = true;
  settings.csv.custom_name = "kept";
  CsvVisualizationDialog dialog(nullptr, settings, prompts);
  const auto& c = dialog.controls();
  EXPECT_FALSE(c.csv_custom_name->isEnabled());
  EXPECT_FALSE(c.vis_folder->isEnabled());
  c.csv_name_generation->setCurrentIndex(2);
  EXPECT_TRUE(c.csv_custom_name->isEnabled());
  c.csv_custom_name->setText(QString(80, 'x'));
  EXPECT_EQ(c.csv_custom_name->text().size(), 60);
  c.csv_name_generation->setCurrentIndex(1);
  EXPECT_FALSE(c.csv_custom_name->isEnabled());
  c.csv_type->setCurrentIndex(1);
  c.csv_unicode->setChecked(true);
  settings.caption.position = kBottomLeft;
  dialog.ok()->click();
  EXPECT_EQ(settings.csv.name_generation, kNamePostfix);
  EXPECT_EQ(settings.csv.custom_name, "kept");
  EXPECT_EQ(settings.csv.separator, kCsvSemicolon);
  EXPECT_TRUE(settings.csv.unicode);
  EXPECT_EQ(settings.visualization.caption.position, kTopLeft);  // visualization off: its copy is not refreshed
}

TEST(BadFramesDialogTest, RadiusMovesInStepsOfTen) {
  ScriptedPrompts prompts;
  MeasurementSettings settings;
  settings.bad_frames = {"/out/bad", 0, 0, 25, true, {}, {}};
  BadFramesDialog dialog(nullptr, settings, prompts);
  EXPECT_EQ(settings.bad_frames.count, 10);
  EXPECT_EQ(dialog.count()->value(), 10);
  EXPECT_EQ(dialog.count_label()->text(), "10");
  EXPECT_EQ(dialog.radius()->value(), 2);
  EXPECT_EQ(dialog.radius_label()->text(), "25");
  EXPECT_TRUE(dialog.modes()[0]->isChecked());
  EXPECT_FALSE(dialog.modes()[1]->isEnabled());
  dialog.count()->setValue(37);
  EXPECT_EQ(dialog.count_label()->text(), "37");
  dialog.ok()->click();
  EXPECT_EQ(settings.bad_frames.radius, 20);
  EXPECT_EQ(settings.bad_frames.count, 37);
  EXPECT_EQ(settings.bad_frames.mode, 0);

  BadFramesDialog moved(nullptr, settings, prompts);
  moved.radius()->setValue(7);
  EXPECT_EQ(moved.radius_label()->text(), "70");
  moved.cancel()->click();
  EXPECT_EQ(settings.bad_frames.radius, 20);
}

TEST(BadFramesDialogTest, ComparativeOffersTheThreeComparingModes) {
  ScriptedPrompts prompts;
  MeasurementSettings settings;
  settings.bad_frames = {"/out/bad", 2, 5, 0, true, {}, {}};
  settings.input.comparative_analysis = true;
  BadFramesDialog dialog(nullptr, settings, prompts);
  EXPECT_FALSE(dialog.modes()[0]->isEnabled());
  EXPECT_TRUE(dialog.modes()[2]->isChecked());
  dialog.modes()[3]->click();
  EXPECT_FALSE(dialog.modes()[2]->isChecked());
  prompts.folders = {std::string("/out/other")};
  dialog.browse()->click();
  dialog.ok()->click();
  EXPECT_EQ(settings.bad_frames.mode, 3);
  EXPECT_EQ(settings.bad_frames.output_folder, "/out/other");

  settings.bad_frames.enabled = false;
  BadFramesDialog disabled(nullptr, settings, prompts);
  for (QWidget* control : std::initializer_list<QWidget*>{disabled.modes()[0], disabled.modes()[1], disabled.modes()[2],
                                                          disabled.modes()[3], disabled.browse(), disabled.folder(),
                                                          disabled.count(), disabled.radius()}) {
    EXPECT_FALSE(control->isEnabled());
  }
  EXPECT_FALSE(disabled.modes()[3]->isChecked());
}

TEST(MetricConfigurationDialogTest, OkStoresTheLineOfTheCurrentMetricOnly) {
  MeasurementSettings settings;
  settings.input.metric_configurations = {"a=1", "b=2"};
  settings.request.metric_index = 1;
  {
    MetricConfigurationDialog dialog(nullptr, settings);
    EXPECT_EQ(dialog.line()->text(), "b=2");
    dialog.line()->setText("b=3");
    dialog.cancel()->click();
  }
  EXPECT_EQ(settings.input.metric_configurations[1], "b=2");
  MetricConfigurationDialog dialog(nullptr, settings);
  dialog.line()->setText(QString(300, 'c'));
  dialog.ok()->click();
  EXPECT_EQ(settings.input.metric_configurations[1], std::string(260, 'c'));
  EXPECT_EQ(settings.input.metric_configurations[0], "a=1");
}

}  // namespace
}  // namespace vidmetra::ui::testing
