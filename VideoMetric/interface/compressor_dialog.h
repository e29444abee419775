#pragma once
// The compressor chooser: which installed compressor writes the visualization video, with the controls that
// compressor takes (quality, a key frame every n frames, a data rate) and its own options as text.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include "user_prompts.h"
#include "vidmetra/compressor_catalogue.h"
#include "vidmetra/compressor_chooser.h"

namespace vidmetra::ui {

class CompressorDialog : public QDialog {
 public:
  // Opens on `current` when it is installed, otherwise on the uncompressed choice.
  CompressorDialog(QWidget* parent, const CompressorSettings& current, const std::string& title,
                   UserPrompts& prompts);

  // What "OK" confirmed; only meaningful once the dialog ended with 1.
  const CompressorChoice& choice() const { return choice_; }

  QComboBox* compressor() const { return compressor_; }
  QSlider* quality() const { return quality_; }
  QCheckBox* key_frames() const { return key_frames_; }
  QSpinBox* key_frame_interval() const { return key_frame_interval_; }
  QCheckBox* limit_data_rate() const { return limit_data_rate_; }
  QSpinBox* data_rate() const { return data_rate_; }
  QLineEdit* options() const { return options_; }
  QPushButton* ok() const { return ok_; }
  QPushButton* cancel() const { return cancel_; }

 private:
  const CompressorCatalogue::Entry* Selected() const;
  // Shows the selected compressor: the current choice's values for the current compressor, its defaults otherwise.
  void ShowSelected();
  void ShowState(const std::string& state);
  void Confirm();

  CompressorSettings current_;
  UserPrompts& prompts_;
  CompressorChoice choice_;
  QComboBox* compressor_;
  QSlider* quality_;
  QLabel* quality_value_;
  QCheckBox* key_frames_;
  QSpinBox* key_frame_interval_;
  QCheckBox* limit_data_rate_;
  QSpinBox* data_rate_;
  QLineEdit* options_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// The desktop program's compressor chooser: a CompressorDialog over the current choice.
class DialogCompressorChooser : public CompressorChooser {
 public:
  DialogCompressorChooser(QWidget* parent, const CompressorSettings& current, UserPrompts& prompts)
      : parent_(parent), current_(current), prompts_(prompts) {}
  std::optional<CompressorChoice> Choose(const BitmapInfoHeader& input, const std::string& title) override;

 private:
  QWidget* parent_;
  const CompressorSettings& current_;
  UserPrompts& prompts_;
};

}  // namespace vidmetra::ui
