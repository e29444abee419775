#pragma once
// The controls of the main dialog and their arrangement in three steps.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

namespace vidmetra::ui {

struct MainDialogControls {
  std::array<QLineEdit*, 3> paths{};       // original, first processed, second processed
  std::array<QPushButton*, 3> browse{};
  QCheckBox* comparative = nullptr;
  QPushButton* advanced_files = nullptr;
  QComboBox* metric = nullptr;
  QPushButton* metric_settings = nullptr;
  QPushButton* measure_info = nullptr;
  QLabel* metric_settings_label = nullptr;
  std::array<QRadioButton*, 7> components{};  // indexed by colour component
  QCheckBox* save_csv = nullptr;
  QCheckBox* save_visualization = nullptr;
  QPushButton* csv_visualization_advanced = nullptr;
  QCheckBox* save_bad_frames = nullptr;
  QPushButton* bad_frames_advanced = nullptr;
  QPushButton* more_options = nullptr;
  QCheckBox* show_results = nullptr;
  QLabel* status = nullptr;
  QPushButton* process = nullptr;
  QPushButton* website = nullptr;
  QPushButton* feedback = nullptr;
  QPushButton* exit = nullptr;
};

// Creates the controls inside `window`, with the enabled states they start with.
MainDialogControls BuildMainDialog(QWidget& window);

}  // namespace vidmetra::ui
