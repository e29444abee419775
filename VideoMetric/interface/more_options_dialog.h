#pragma once
// The sound played when a run has finished.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_parts.h"
#include "user_prompts.h"
#include "vidmetra/measurement_settings.h"

namespace vidmetra::ui {

class MoreOptionsDialog : public OptionDialog {
 public:
  MoreOptionsDialog(QWidget* parent, InputState& input, UserPrompts& prompts);

  QCheckBox* play_wav() const { return play_wav_; }
  QLineEdit* wav_path() const { return wav_path_; }
  QPushButton* browse() const { return browse_; }

 private:
  void Browse();
  void Apply() override;

  InputState& input_;
  UserPrompts& prompts_;
  QCheckBox* play_wav_;
  QLineEdit* wav_path_;
  QPushButton* browse_;
};

}  // namespace vidmetra::ui
