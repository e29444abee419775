#include "bad_frames_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace vidmetra::ui {
namespace {

// The radius slider moves in steps of ten frames.
inline constexpr int kRadiusStep = 10;

constexpr std::array<const char*, 4> kModeTexts = {
    "With maximum difference between original and processed",
    "With maximum difference between first processed and second processed",
    "With maximum difference, where metric for first is better than for second",
    "With maximum difference, where metric for second is better than for first",
};

QSlider* Slider(QWidget* parent, int minimum, int maximum) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setRange(minimum, maximum);
  slider->setMinimumWidth(240);
  return slider;
}

}  // namespace

BadFramesDialog::BadFramesDialog(QWidget* parent, MeasurementSettings& settings, UserPrompts& prompts)
    : OptionDialog(parent, "Vidmetra - \"Bad frames\" settings"), settings_(settings) {
  BadFrameSettings& bad = settings.bad_frames;
  if (bad.count == 0) bad.count = 10;
  folder_ = FieldEdit(this, bad.output_folder);
  browse_ = new QPushButton("Browse", this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ModeGroup());
  layout->addLayout(SliderGrid());
  layout->addLayout(BrowseRow(this, "Output dir:", folder_, browse_));
  layout->addLayout(OkCancelButtons());

  count_->setValue(bad.count);
  count_label_->setNum(bad.count);
  radius_->setValue(bad.radius / kRadiusStep);
  radius_label_->setNum(bad.radius);
  ShowModes();
  const bool enabled = bad.enabled;
  for (QWidget* control : std::initializer_list<QWidget*>{browse_, folder_, count_, radius_}) {
    control->setEnabled(enabled);
  }

  connect(count_, &QSlider::valueChanged, count_label_, qOverload<int>(&QLabel::setNum));
  connect(radius_, &QSlider::valueChanged, this, [this](int position) { radius_label_->setNum(position * kRadiusStep); });
  connect(browse_, &QPushButton::clicked, this, [this, &prompts] { ChooseFolderInto(this, prompts, *folder_); });
}

QWidget* BadFramesDialog::ModeGroup() {
  auto* group = new QGroupBox("Save bad frames:", this);
  auto* group_layout = new QVBoxLayout(group);
  for (size_t mode = 0; mode < modes_.size(); ++mode) {
    modes_[mode] = new QRadioButton(kModeTexts[mode], group);
    // The dialog keeps one checked itself, and none may be checked at all.
    modes_[mode]->setAutoExclusive(false);
    group_layout->addWidget(modes_[mode]);
    connect(modes_[mode], &QRadioButton::clicked, this, [this, mode] { CheckOnly(mode); });
  }
  return group;
}

QLayout* BadFramesDialog::SliderGrid() {
  count_ = Slider(this, 1, 50);
  count_label_ = new QLabel(this);
  radius_ = Slider(this, 0, 100);
  radius_label_ = new QLabel(this);
  for (QLabel* label : {count_label_, radius_label_}) label->setMinimumWidth(label->fontMetrics().horizontalAdvance("0000"));
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Number of \"bad frames\" saved:", this), 0, 0);
  grid->addWidget(count_, 0, 1);
  grid->addWidget(count_label_, 0, 2);
  grid->addWidget(new QLabel("Count out radius:", this), 1, 0);
  grid->addWidget(radius_, 1, 1);
  grid->addWidget(radius_label_, 1, 2);
  return grid;
}

void BadFramesDialog::ShowModes() {
  const BadFrameSettings& bad = settings_.bad_frames;
  for (QRadioButton* button : modes_) {
    button->setEnabled(false);
    button->setChecked(false);
  }
  if (!bad.enabled) return;
  if (settings_.input.comparative_analysis) {
    for (size_t mode = 1; mode < modes_.size(); ++mode) modes_[mode]->setEnabled(true);
    if (bad.mode >= 0 && static_cast<size_t>(bad.mode) < modes_.size()) modes_[static_cast<size_t>(bad.mode)]->setChecked(true);
  } else {
    modes_[0]->setEnabled(true);
    modes_[0]->setChecked(true);
  }
}

void BadFramesDialog::CheckOnly(size_t mode) {
  for (size_t other = 0; other < modes_.size(); ++other) modes_[other]->setChecked(other == mode);
}

void BadFramesDialog::Apply() {
  BadFrameSettings& bad = settings_.bad_frames;
  bad.count = count_->value();
  bad.radius = radius_->value() * kRadiusStep;
  for (size_t mode = 0; mode < modes_.size(); ++mode) {
    if (modes_[mode]->isChecked()) {
      bad.mode = static_cast<int32_t>(mode);
      break;
    }
  }
  bad.output_folder = FieldText(*folder_);
}

}  // namespace vidmetra::ui
