#pragma once
// The configuration line of the selected metric, passed to it unchecked at the next run.
#include <QLineEdit>

#include "dialog_parts.h"
#include "vidmetra/measurement_settings.h"

namespace vidmetra::ui {

class MetricConfigurationDialog : public OptionDialog {
 public:
  MetricConfigurationDialog(QWidget* parent, MeasurementSettings& settings);

  QLineEdit* line() const { return line_; }

 private:
  void Apply() override;
  std::string* Current();

  MeasurementSettings& settings_;
  QLineEdit* line_;
};

}  // namespace vidmetra::ui
