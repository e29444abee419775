#pragma once
// Pieces every option dialog is built from.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "user_prompts.h"

class QBoxLayout;
class QLayout;

namespace vidmetra::ui {

// Text fields hold what a 260-character buffer held.
inline constexpr int kFieldCharacters = 260;

// "OK" and "Cancel" at the right of a row, "OK" the default button.
QLayout* OkCancelRow(QPushButton* ok, QPushButton* cancel);
QLineEdit* FieldEdit(QWidget* parent, const std::string& text = {});
std::string FieldText(const QLineEdit& edit);

// An edit with its "Browse" button, and the edit's label in front when there is one.
QLayout* BrowseRow(QWidget* parent, const char* label, QLineEdit* edit, QPushButton* browse);
// The folder chooser ("Select folder"); a chosen folder replaces the edit's text, a cancelled one changes nothing.
void ChooseFolderInto(QWidget* parent, UserPrompts& prompts, QLineEdit& edit);

// A dialog that ends with 1 whichever way the user leaves it; only "OK" applies what the controls show.
class OptionDialog : public QDialog {
 public:
  OptionDialog(QWidget* parent, const char* caption);
  void reject() override { done(1); }

  QPushButton* ok() const { return ok_; }
  QPushButton* cancel() const { return cancel_; }

 protected:
  // "OK" (which calls `Apply`) and "Cancel", made last so that they come last in the tab order.
  QLayout* OkCancelButtons();
  virtual void Apply() = 0;

 private:
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace vidmetra::ui
