#include "advanced_file_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "help_addresses.h"

namespace vidmetra::ui {
namespace {

QRadioButton* MatrixButton(const char* text, QWidget* parent) {
  auto* button = new QRadioButton(QString::fromUtf8(text), parent);
  // Neither may be checked (a stored matrix that is neither), which exclusive buttons cannot show.
  button->setAutoExclusive(false);
  return button;
}

}  // namespace

AdvancedFileDialog::AdvancedFileDialog(QWidget* parent, MeasurementRequest& request, UserPrompts& prompts,
                                       const std::string& help_folder)
    : OptionDialog(parent, "Vidmetra - Advanced file settings"), request_(request) {
  auto* group = new QGroupBox("RGB <-> YUV Matrix", this);
  rec601_ = MatrixButton(
      "REC.601 - Default matrix for AviSynth and some of YUV files. Y: [16...235], U, V: [16...240] (or [-112...112]",
      group);
  pc601_ = MatrixButton(
      "PC.601. This matrix was used in previous version of Vidmetra.         Y: [0...255], U, V: [0...255]", group);
  rec601_->setChecked(request.colour_matrix == kRec601);
  pc601_->setChecked(request.colour_matrix == kPc601);
  auto* group_layout = new QVBoxLayout(group);
  group_layout->addWidget(rec601_);
  group_layout->addWidget(pc601_);

  online_information_ = new QPushButton("Online information", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(online_information_);
  buttons->addLayout(OkCancelButtons());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);

  connect(rec601_, &QRadioButton::clicked, this, [this] { pc601_->setChecked(false); rec601_->setChecked(true); });
  connect(pc601_, &QRadioButton::clicked, this, [this] { rec601_->setChecked(false); pc601_->setChecked(true); });
  connect(online_information_, &QPushButton::clicked, this,
          [&prompts, help_folder] { prompts.OpenAddress(LocalOrWebAddress(kMatricesPage, help_folder)); });
}

void AdvancedFileDialog::Apply() {
  if (rec601_->isChecked()) {
    request_.colour_matrix = kRec601;
  } else if (pc601_->isChecked()) {
    request_.colour_matrix = kPc601;
  }
}

}  // namespace vidmetra::ui
