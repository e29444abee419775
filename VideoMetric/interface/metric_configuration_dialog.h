#pragma once
// The configuration line of the selected metric, passed to it unchecked at the next run.
#include <QLineEdit>
#include <QPushButton>

#include "dialog_parts.h"
#include "vidmetra/measurement_settings.h"

namespace vidmetra::ui {

class MetricConfigurationDialog : public OptionDialog {
 public:
  MetricConfigurationDialog(QWidget* parent, MeasurementSettings& settings);

  QLineEdit* line() const { return line_; }
  QPushButton* ok() const { return ok_; }
  QPushButton* cancel() const { return cancel_; }

 private:
  std::string* Current();

  MeasurementSettings& settings_;
  QLineEdit* line_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace vidmetra::ui
