#pragma once
// Where and how the CSV file and the visualization output are written, and the caption of the visualization.
// Controls of an output that is switched off are shown but inert: "OK" leaves that output's settings alone.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_parts.h"
#include "user_prompts.h"
#include "vidmetra/measurement_settings.h"

namespace vidmetra::ui {

class CsvVisualizationDialog : public OptionDialog {
 public:
  CsvVisualizationDialog(QWidget* parent, MeasurementSettings& settings, UserPrompts& prompts);

  struct Controls {
    QLineEdit* csv_folder;
    QPushButton* csv_browse;
    QComboBox* csv_name_generation;
    QLineEdit* csv_custom_name;
    QComboBox* csv_type;
    QCheckBox* csv_unicode;
    QComboBox* vis_name_generation;
    QLineEdit* vis_folder;
    QPushButton* vis_browse;
    QPushButton* choose_compression;
    QLabel* compressor_name;
    QComboBox* caption_position;
    QCheckBox* print_metric_value;
    QCheckBox* print_frame_number;
  };
  const Controls& controls() const { return c_; }

 private:
  QWidget* CsvGroup();
  QWidget* VisualizationGroup();
  void ShowSettings();
  void EnableOutputs();
  void ChooseCompression();
  void ShowCompressorName();
  void Apply() override;

  MeasurementSettings& settings_;
  UserPrompts& prompts_;
  Controls c_{};
};

}  // namespace vidmetra::ui
