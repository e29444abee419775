#include "more_options_dialog.h"

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
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(play_wav_);
  layout->addLayout(BrowseRow(this, "WAV:", wav_path_, browse_));
  layout->addLayout(OkCancelButtons());

  connect(play_wav_, &QCheckBox::toggled, browse_, &QPushButton::setEnabled);
  connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
}

void MoreOptionsDialog::Browse() {
  // The chosen file is taken at once: leaving with "Cancel" afterwards keeps it.
  if (const auto chosen = prompts_.ChooseOpenFile(this, "WAV Files (*.WAV *.wav)", {})) {
    input_.wav_path = *chosen;
    wav_path_->setText(QString::fromStdString(*chosen));
  }
}

void MoreOptionsDialog::Apply() {
  input_.play_wav = play_wav_->isChecked();
  if (input_.play_wav) input_.wav_path = FieldText(*wav_path_);
}

}  // namespace vidmetra::ui
