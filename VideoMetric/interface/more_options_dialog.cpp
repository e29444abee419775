#include "more_options_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vidmetra::ui {

MoreOptionsDialog::MoreOptionsDialog(QWidget* parent, InputState& input, UserPrompts& prompts)
    : OptionDialog(parent, "Vidmetra - More options"), input_(input), prompts_(prompts) {
  play_wav_ = new QCheckBox("Play WAV file, when finished", this);
  play_wav_->setChecked(input.play_wav);
  wav_path_ = FieldEdit(this, input.wav_path);
  wav_path_->setMinimumWidth(260);
  browse_ = new QPushButton("Browse", this);
  browse_->setEnabled(input.play_wav);
  ok_ = new QPushButton("OK", this);
  cancel_ = new QPushButton("Cancel", this);

  auto* wav_row = new QHBoxLayout;
  wav_row->addWidget(new QLabel("WAV:", this));
  wav_row->addWidget(wav_path_, 1);
  wav_row->addWidget(browse_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(play_wav_);
  layout->addLayout(wav_row);
  layout->addLayout(OkCancelRow(ok_, cancel_));

  connect(play_wav_, &QCheckBox::toggled, browse_, &QPushButton::setEnabled);
  connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
  connect(ok_, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(1); });
}

void MoreOptionsDialog::Browse() {
  // The chosen file is taken at once: leaving with "Cancel" afterwards keeps it.
  if (const auto chosen = prompts_.ChooseOpenFile(this, "WAV Files (*.WAV *.wav)", {})) {
    input_.wav_path = *chosen;
    wav_path_->setText(QString::fromStdString(*chosen));
  }
}

void MoreOptionsDialog::Confirm() {
  input_.play_wav = play_wav_->isChecked();
  if (input_.play_wav) input_.wav_path = FieldText(*wav_path_);
  done(1);
}

}  // namespace vidmetra::ui
