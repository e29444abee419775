#pragma once
// The picture size and colour mode of a raw YUV file, which its bytes cannot tell. Ends with 1 when confirmed
// with a size, 0 when cancelled.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "user_prompts.h"
#include "vidmetra/input_file_entry.h"

namespace vidmetra::ui {

class YuvFileDialog : public QDialog {
 public:
  YuvFileDialog(QWidget* parent, InputFileEntry& entry, UserPrompts& prompts);

  QLabel* file_name() const { return file_name_; }
  QLineEdit* width() const { return width_; }
  QLineEdit* height() const { return height_; }
  QComboBox* colour_mode() const { return colour_mode_; }
  QPushButton* ok() const { return ok_; }
  QPushButton* cancel() const { return cancel_; }

 private:
  void Confirm();

  InputFileEntry& entry_;
  UserPrompts& prompts_;
  QLabel* file_name_;
  QLineEdit* width_;
  QLineEdit* height_;
  QComboBox* colour_mode_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace vidmetra::ui
