#pragma once
// Which frames count as "bad", how many are saved, how far apart they must lie, and where they go.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <array>

#include "dialog_parts.h"
#include "user_prompts.h"
#include "vidmetra/measurement_settings.h"

namespace vidmetra::ui {

class BadFramesDialog : public OptionDialog {
 public:
  BadFramesDialog(QWidget* parent, MeasurementSettings& settings, UserPrompts& prompts);

  // Indexed by bad-frame mode.
  const std::array<QRadioButton*, 4>& modes() const { return modes_; }
  QSlider* count() const { return count_; }
  QLabel* count_label() const { return count_label_; }
  QSlider* radius() const { return radius_; }
  QLabel* radius_label() const { return radius_label_; }
  QLineEdit* folder() const { return folder_; }
  QPushButton* browse() const { return browse_; }

 private:
  QWidget* ModeGroup();
  QLayout* SliderGrid();
  void ShowModes();
  void CheckOnly(size_t mode);
  void Apply() override;

  MeasurementSettings& settings_;
  std::array<QRadioButton*, 4> modes_{};
  QSlider* count_ = nullptr;
  QLabel* count_label_ = nullptr;
  QSlider* radius_ = nullptr;
  QLabel* radius_label_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QPushButton* browse_ = nullptr;
};

}  // namespace vidmetra::ui
