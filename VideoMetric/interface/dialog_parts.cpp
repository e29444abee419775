#include "dialog_parts.h"

#include <QHBoxLayout>
#include <QLabel>

namespace vidmetra::ui {

QLayout* OkCancelRow(QPushButton* ok, QPushButton* cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  ok->setDefault(true);
  return row;
}

QLineEdit* FieldEdit(QWidget* parent, const std::string& text) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setMaxLength(kFieldCharacters);
  return edit;
}

std::string FieldText(const QLineEdit& edit) { return edit.text().left(kFieldCharacters).toStdString(); }

QLayout* BrowseRow(QWidget* parent, const char* label, QLineEdit* edit, QPushButton* browse) {
  auto* row = new QHBoxLayout;
  if (label != nullptr) row->addWidget(new QLabel(label, parent));
  row->addWidget(edit, 1);
  row->addWidget(browse);
  return row;
}

void ChooseFolderInto(QWidget* parent, UserPrompts& prompts, QLineEdit& edit) {
  if (const auto folder = prompts.ChooseFolder(parent, "Select folder")) edit.setText(QString::fromStdString(*folder));
}

OptionDialog::OptionDialog(QWidget* parent, const char* caption) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(caption));
  setModal(true);
}

QLayout* OptionDialog::OkCancelButtons() {
  ok_ = new QPushButton("OK", this);
  cancel_ = new QPushButton("Cancel", this);
  connect(ok_, &QPushButton::clicked, this, [this] {
    Apply();
    done(1);
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(1); });
  return OkCancelRow(ok_, cancel_);
}

}  // namespace vidmetra::ui
