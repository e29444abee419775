#include "compressor_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "dialog_parts.h"
#include "vidmetra/video_encoder.h"

namespace vidmetra::ui {
namespace {

using EncoderOptions = std::vector<std::pair<std::string, std::string>>;

// The slider shows the 0..10000 quality of a choice in percent.
constexpr int kQualityStep = 100;
constexpr int kDefaultQualityPercent = 75;
constexpr int kMaxKeyFrameInterval = 9999;
constexpr int kDefaultKeyFrameInterval = 250;
constexpr int kMaxDataRate = 1000000;
constexpr int kDefaultDataRate = 2000;
// The encoder option that the key-frame control edits.
constexpr const char* kKeyFrameOption = "g";

bool IsKeyFrameOption(const std::pair<std::string, std::string>& option) { return option.first == kKeyFrameOption; }

QSpinBox* SpinBox(QWidget* parent, int maximum, const char* suffix) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(1, maximum);
  spin->setSuffix(suffix);
  return spin;
}

QLayout* CheckedSpinRow(QCheckBox* check, QSpinBox* spin) {
  auto* row = new QHBoxLayout;
  row->addWidget(check);
  row->addWidget(spin);
  row->addStretch(1);
  return row;
}

}  // namespace

CompressorDialog::CompressorDialog(QWidget* parent, const CompressorSettings& current, const std::string& title,
                                   UserPrompts& prompts)
    : QDialog(parent), current_(current), prompts_(prompts) {
  setWindowTitle(QString::fromStdString(title));
  setModal(true);
  compressor_ = new QComboBox(this);
  for (const CompressorCatalogue::Entry& entry : CompressorCatalogue::Instance().Entries()) {
    compressor_->addItem(QString::fromStdString(entry.description), entry.fourcc);
  }
  quality_ = new QSlider(Qt::Horizontal, this);
  quality_->setRange(0, 10000 / kQualityStep);
  quality_value_ = new QLabel(this);
  quality_value_->setMinimumWidth(quality_value_->fontMetrics().horizontalAdvance("100 %"));
  key_frames_ = new QCheckBox("Key frame every", this);
  key_frame_interval_ = SpinBox(this, kMaxKeyFrameInterval, " frames");
  limit_data_rate_ = new QCheckBox("Data rate", this);
  data_rate_ = SpinBox(this, kMaxDataRate, " kbit/s");
  options_ = new QLineEdit(this);
  options_->setPlaceholderText("option=value:option=value");
  options_->setMinimumWidth(280);
  ok_ = new QPushButton("OK", this);
  cancel_ = new QPushButton("Cancel", this);

  auto* quality_row = new QHBoxLayout;
  quality_row->addWidget(quality_, 1);
  quality_row->addWidget(quality_value_);
  auto* form = new QFormLayout;
  form->addRow("Compressor:", compressor_);
  form->addRow("Compression quality:", quality_row);
  form->addRow(CheckedSpinRow(key_frames_, key_frame_interval_));
  form->addRow(CheckedSpinRow(limit_data_rate_, data_rate_));
  form->addRow("Options:", options_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(OkCancelRow(ok_, cancel_));

  const int shown = compressor_->findData(current.fcc_type == kVideoCompressorType ? current.fcc_handler : 0);
  compressor_->setCurrentIndex(std::max(shown, 0));
  ShowSelected();
  connect(compressor_, &QComboBox::currentIndexChanged, this, [this] { ShowSelected(); });
  connect(quality_, &QSlider::valueChanged, this, [this](int value) { quality_value_->setText(QString("%1 %").arg(value)); });
  connect(key_frames_, &QCheckBox::toggled, key_frame_interval_, &QSpinBox::setEnabled);
  connect(limit_data_rate_, &QCheckBox::toggled, data_rate_, &QSpinBox::setEnabled);
  connect(ok_, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

const CompressorCatalogue::Entry* CompressorDialog::Selected() const {
  return CompressorCatalogue::Instance().Find(compressor_->currentData().toUInt());
}

void CompressorDialog::ShowSelected() {
  const CompressorCatalogue::Entry* entry = Selected();
  if (entry == nullptr) return;
  const bool is_current = current_.fcc_type == kVideoCompressorType && current_.fcc_handler == entry->fourcc;
  const bool quality_given = is_current && current_.quality >= 0 && current_.quality <= 10000;
  quality_->setValue(quality_given ? current_.quality / kQualityStep : kDefaultQualityPercent);
  quality_value_->setText(QString("%1 %").arg(quality_->value()));
  quality_->setEnabled(entry->quality);
  quality_value_->setEnabled(entry->quality);
  ShowState(is_current ? current_.StateText() : entry->default_state);
  key_frames_->setEnabled(entry->key_frame_interval);
  key_frame_interval_->setEnabled(entry->key_frame_interval && key_frames_->isChecked());
  const bool rate_given = is_current && current_.data_rate > 0;
  limit_data_rate_->setChecked(rate_given);
  data_rate_->setValue(rate_given ? current_.data_rate : kDefaultDataRate);
  limit_data_rate_->setEnabled(entry->data_rate);
  data_rate_->setEnabled(entry->data_rate && rate_given);
  options_->setEnabled(entry->create != nullptr);
}

void CompressorDialog::ShowState(const std::string& state) {
  EncoderOptions options;
  if (!ParseEncoderOptions(state, options)) {
    // Shown as it is, so that the user sees what the compressor was given.
    key_frames_->setChecked(false);
    key_frame_interval_->setValue(kDefaultKeyFrameInterval);
    options_->setText(QString::fromStdString(state));
    return;
  }
  const auto key_frame = std::find_if(options.begin(), options.end(), IsKeyFrameOption);
  const int interval = key_frame == options.end() ? 0 : QString::fromStdString(key_frame->second).toInt();
  key_frames_->setChecked(interval > 0);
  key_frame_interval_->setValue(interval > 0 ? interval : kDefaultKeyFrameInterval);
  std::erase_if(options, IsKeyFrameOption);
  options_->setText(QString::fromStdString(JoinEncoderOptions(options)));
}

void CompressorDialog::Confirm() {
  const CompressorCatalogue::Entry* entry = Selected();
  if (entry == nullptr) return;
  EncoderOptions options;
  if (entry->create != nullptr && !ParseEncoderOptions(options_->text().trimmed().toStdString(), options)) {
    prompts_.ShowError(this, "Give the compressor's options as option=value, separated by colons!");
    return;
  }
  // The key-frame control has the last word on the key-frame interval.
  std::erase_if(options, IsKeyFrameOption);
  if (entry->key_frame_interval && key_frames_->isChecked()) {
    options.insert(options.begin(), {kKeyFrameOption, std::to_string(key_frame_interval_->value())});
  }
  CompressorChoice choice;
  choice.fcc_handler = entry->fourcc;
  choice.quality = entry->quality ? quality_->value() * kQualityStep : -1;
  choice.data_rate = entry->data_rate && limit_data_rate_->isChecked() ? data_rate_->value() : 0;
  const std::string state = JoinEncoderOptions(options);
  choice.state.assign(state.begin(), state.end());
  CompressorSettings probe{choice.fcc_type, choice.fcc_handler, choice.quality, choice.data_rate, choice.state};
  if (entry->create != nullptr && CompressorCatalogue::Instance().Open(probe) == nullptr) {
    prompts_.ShowError(this, "The compressor does not accept these options!");
    return;
  }
  choice_ = std::move(choice);
  done(1);
}

std::optional<CompressorChoice> DialogCompressorChooser::Choose(const BitmapInfoHeader&, const std::string& title) {
  CompressorDialog dialog(parent_, current_, title, prompts_);
  if (dialog.exec() != 1) return std::nullopt;
  return dialog.choice();
}

}  // namespace vidmetra::ui
