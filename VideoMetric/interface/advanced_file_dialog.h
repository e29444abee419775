#pragma once
// The RGB <-> YUV matrix the inputs are converted with.
#include <QPushButton>
#include <QRadioButton>

#include "dialog_parts.h"
#include "user_prompts.h"
#include "vidmetra/measurement_settings.h"

namespace vidmetra::ui {

class AdvancedFileDialog : public OptionDialog {
 public:
  AdvancedFileDialog(QWidget* parent, MeasurementRequest& request, UserPrompts& prompts,
                     const std::string& help_folder);

  QRadioButton* rec601() const { return rec601_; }
  QRadioButton* pc601() const { return pc601_; }
  QPushButton* online_information() const { return online_information_; }

 private:
  void Apply() override;

  MeasurementRequest& request_;
  QRadioButton* rec601_;
  QRadioButton* pc601_;
  QPushButton* online_information_;
};

}  // namespace vidmetra::ui
