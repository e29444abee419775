#include "user_prompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace vidmetra::ui {

void QtUserPrompts::ShowError(QWidget* parent, const std::string& text) {
  QMessageBox::warning(parent, kErrorTitle, QString::fromStdString(text));
}

bool QtUserPrompts::AskYesNo(QWidget* parent, const std::string& text) {
  return QMessageBox::warning(parent, kWarningTitle, QString::fromStdString(text),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtUserPrompts::ChooseOpenFile(QWidget* parent, const std::string& filter,
                                                         const std::string& start) {
  // A preset that names no existing file is dropped rather than refused, as the old dialog retried without it.
  const QString preset = QString::fromStdString(start);
  const QString chosen = QFileDialog::getOpenFileName(parent, {}, QFileInfo::exists(preset) ? preset : QString(),
                                                      QString::fromStdString(filter));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

std::optional<std::string> QtUserPrompts::ChooseFolder(QWidget* parent, const std::string& title) {
  const QString chosen = QFileDialog::getExistingDirectory(parent, QString::fromStdString(title));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

void QtUserPrompts::OpenAddress(const std::string& address) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace vidmetra::ui
