#include "metric_configuration_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vidmetra::ui {

MetricConfigurationDialog::MetricConfigurationDialog(QWidget* parent, MeasurementSettings& settings)
    : OptionDialog(parent, "Vidmetra - Metric configuration"), settings_(settings) {
  const std::string* current = Current();
  line_ = FieldEdit(this, current != nullptr ? *current : std::string());
  line_->setMinimumWidth(360);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Metric configuration line:", this));
  layout->addWidget(line_);
  layout->addLayout(OkCancelButtons());
}

void MetricConfigurationDialog::Apply() {
  if (std::string* configuration = Current()) *configuration = FieldText(*line_);
}

std::string* MetricConfigurationDialog::Current() {
  const auto index = static_cast<size_t>(settings_.request.metric_index);
  std::vector<std::string>& configurations = settings_.input.metric_configurations;
  return index < configurations.size() ? &configurations[index] : nullptr;
}

}  // namespace vidmetra::ui
