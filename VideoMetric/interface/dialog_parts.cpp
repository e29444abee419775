#include "dialog_parts.h"

#include <QHBoxLayout>

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

OptionDialog::OptionDialog(QWidget* parent, const char* caption) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(caption));
  setModal(true);
}

}  // namespace vidmetra::ui
