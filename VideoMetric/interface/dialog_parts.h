#pragma once
// Pieces every option dialog is built from.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <string>

class QBoxLayout;
class QLayout;

namespace vidmetra::ui {

// Text fields hold what a 260-character buffer held.
inline constexpr int kFieldCharacters = 260;

// "OK" and "Cancel" at the right of a row, "OK" the default button.
QLayout* OkCancelRow(QPushButton* ok, QPushButton* cancel);
QLineEdit* FieldEdit(QWidget* parent, const std::string& text = {});
std::string FieldText(const QLineEdit& edit);

// A dialog that only ends with 1, whichever way the user leaves it; "OK" has applied its changes by then.
class OptionDialog : public QDialog {
 public:
  OptionDialog(QWidget* parent, const char* caption);
  void reject() override { done(1); }
};

}  // namespace vidmetra::ui
