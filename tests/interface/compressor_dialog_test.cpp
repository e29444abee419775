// The compressor chooser as "Choose compression" of the CSV and visualization settings opens it.
#include <gtest/gtest.h>

#include "compressor_dialog.h"
#include "csv_visualization_dialog.h"
#include "modal_answer.h"
#include "scripted_prompts.h"
#include "vidmetra/fourcc.h"

namespace vidmetra::ui::testing {
namespace {

void Select(CompressorDialog& dialog, uint32_t fourcc) {
  dialog.compressor()->setCurrentIndex(dialog.compressor()->findData(fourcc));
}

class CompressorDialogTest : public ::testing::Test {
 protected:
  CompressorDialogTest() { settings_.visualization.enabled = true; }

  // Presses "Choose compression" and lets `answer` act in the chooser.
  void Choose(CsvVisualizationDialog& dialog, std::function<void(CompressorDialog&)> answer) {
    WhenModalOpens<CompressorDialog>(std::move(answer));
    dialog.controls().choose_compression->click();
  }

  ScriptedPrompts prompts_;
  MeasurementSettings settings_;
};

TEST_F(CompressorDialogTest, OkTakesTheChoiceAtOnceAndCancelKeepsTheOldOne) {
  CsvVisualizationDialog dialog(nullptr, settings_, prompts_);
  const auto& c = dialog.controls();
  EXPECT_EQ(c.compressor_name->text(), "Uncompressed RGB");
  std::string title;
  Choose(dialog, [&](CompressorDialog& chooser) {
    title = chooser.windowTitle().toStdString();
    EXPECT_EQ(chooser.compressor()->currentData().toUInt(), kUncompressedFourCc);
    EXPECT_FALSE(chooser.quality()->isEnabled());
    EXPECT_FALSE(chooser.options()->isEnabled());
    Select(chooser, FourCc("MJPG"));
    EXPECT_TRUE(chooser.quality()->isEnabled());
    EXPECT_FALSE(chooser.key_frames()->isEnabled());
    chooser.quality()->setValue(40);
    chooser.ok()->click();
  });
  EXPECT_EQ(title, "Choose compressor:");
  const CompressorSettings mjpeg = settings_.visualization.compressor;
  EXPECT_EQ(mjpeg.fcc_type, FourCc("vidc"));
  EXPECT_EQ(mjpeg.fcc_handler, FourCc("MJPG"));
  EXPECT_EQ(mjpeg.quality, 4000);
  EXPECT_EQ(mjpeg.data_rate, 0);
  EXPECT_EQ(c.compressor_name->text(), "Motion JPEG");

  // A chooser left with "Cancel" or its close button changes nothing.
  Choose(dialog, [](CompressorDialog& chooser) {
    Select(chooser, FourCc("FFV1"));
    chooser.cancel()->click();
  });
  Choose(dialog, [](CompressorDialog& chooser) {
    Select(chooser, FourCc("FFV1"));
    chooser.reject();
  });
  EXPECT_EQ(settings_.visualization.compressor, mjpeg);

  // The choice stays even when the settings dialog itself is cancelled; its name is cut to its label's 20 characters.
  Choose(dialog, [](CompressorDialog& chooser) {
    Select(chooser, FourCc("FFV1"));
    chooser.ok()->click();
  });
  dialog.cancel()->click();
  EXPECT_EQ(settings_.visualization.compressor.fcc_handler, FourCc("FFV1"));
  EXPECT_EQ(c.compressor_name->text(), "FFV1 lossless (FFmpe");
  EXPECT_EQ(c.compressor_name->toolTip(), "FFV1 lossless (FFmpeg video codec #1)");
}

TEST_F(CompressorDialogTest, KeyFramesDataRateAndOptionsMakeTheStateAndComeBackWithIt) {
  CsvVisualizationDialog dialog(nullptr, settings_, prompts_);
  Choose(dialog, [&](CompressorDialog& chooser) {
    Select(chooser, FourCc("FMP4"));
    // The compressor's own defaults: a key frame every 250 frames, no data rate.
    EXPECT_TRUE(chooser.key_frames()->isChecked());
    EXPECT_EQ(chooser.key_frame_interval()->value(), 250);
    EXPECT_FALSE(chooser.limit_data_rate()->isChecked());
    EXPECT_FALSE(chooser.data_rate()->isEnabled());
    chooser.key_frame_interval()->setValue(50);
    chooser.limit_data_rate()->setChecked(true);
    chooser.data_rate()->setValue(800);
    chooser.options()->setText("bf");
    chooser.ok()->click();
    EXPECT_TRUE(chooser.isVisible());
    chooser.options()->setText("no_such_option=1");
    chooser.ok()->click();
    EXPECT_TRUE(chooser.isVisible());
    // A key-frame interval typed among the options gives way to the control's.
    chooser.options()->setText("g=7:bf=0");
    chooser.ok()->click();
  });
  EXPECT_EQ(prompts_.errors, (std::vector<std::string>{
                                 "Give the compressor's options as option=value, separated by colons!",
                                 "The compressor does not accept these options!"}));
  const CompressorSettings chosen = settings_.visualization.compressor;
  EXPECT_EQ(chosen.fcc_handler, FourCc("FMP4"));
  EXPECT_EQ(chosen.StateText(), "g=50:bf=0");
  EXPECT_EQ(chosen.data_rate, 800);
  EXPECT_EQ(chosen.quality, 7500);

  Choose(dialog, [](CompressorDialog& chooser) {
    EXPECT_EQ(chooser.compressor()->currentData().toUInt(), FourCc("FMP4"));
    EXPECT_EQ(chooser.key_frame_interval()->value(), 50);
    EXPECT_TRUE(chooser.limit_data_rate()->isChecked());
    EXPECT_EQ(chooser.data_rate()->value(), 800);
    EXPECT_EQ(chooser.options()->text(), "bf=0");
    // Another compressor shows its own defaults, and coming back shows the current choice again.
    Select(chooser, FourCc("MJPG"));
    EXPECT_FALSE(chooser.limit_data_rate()->isChecked());
    EXPECT_EQ(chooser.options()->text(), "");
    Select(chooser, FourCc("FMP4"));
    EXPECT_EQ(chooser.options()->text(), "bf=0");
    chooser.key_frames()->setChecked(false);
    chooser.limit_data_rate()->setChecked(false);
    chooser.ok()->click();
  });
  EXPECT_EQ(settings_.visualization.compressor.StateText(), "bf=0");
  EXPECT_EQ(settings_.visualization.compressor.data_rate, 0);
}

TEST_F(CompressorDialogTest, ChoosingIsOffOnlyWhileTheVisualizationIs) {
  settings_.visualization.enabled = false;
  CsvVisualizationDialog off(nullptr, settings_, prompts_);
  EXPECT_FALSE(off.controls().choose_compression->isEnabled());
  // A stored choice of a compressor that is not installed opens on the uncompressed one.
  settings_.visualization.compressor = {FourCc("vidc"), FourCc("XXXX"), 100, 0, {}};
  CompressorDialog chooser(nullptr, settings_.visualization.compressor, "Choose compressor:", prompts_);
  EXPECT_EQ(chooser.compressor()->currentData().toUInt(), kUncompressedFourCc);
}

}  // namespace
}  // namespace vidmetra::ui::testing
