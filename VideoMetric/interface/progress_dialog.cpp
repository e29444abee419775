#include "progress_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace vidmetra::ui {

ProgressDialog::ProgressDialog(QWidget* parent, bool auto_close, Handlers handlers)
    : QDialog(parent), handlers_(std::move(handlers)) {
  setWindowTitle("Vidmetra - Progress");
  setWindowModality(Qt::ApplicationModal);
  lines_ = new QListWidget(this);
  lines_->setMinimumSize(560, 220);
  lines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  continue_ = new QPushButton("Continue", this);
  continue_->setEnabled(false);
  stop_ = new QPushButton("Stop", this);
  auto_close_ = new QCheckBox("autoclose", this);
  auto_close_->setChecked(auto_close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(auto_close_);
  buttons->addStretch(1);
  buttons->addWidget(continue_);
  buttons->addWidget(stop_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lines_, 1);
  layout->addWidget(bar_);
  layout->addLayout(buttons);

  connect(stop_, &QPushButton::clicked, this, [this] { handlers_.stop(); });
  connect(continue_, &QPushButton::clicked, this, [this] { Continue(); });
}

void ProgressDialog::AddLine(const QString& line) {
  lines_->addItem(line);
  // The newest line is selected and so scrolled to; the list scrolls sideways for lines wider than itself.
  lines_->setCurrentRow(lines_->count() - 1);
}

void ProgressDialog::SetRange(int minimum, int maximum) {
  // Qt draws a range without width as a busy indicator; a file without frames has nothing to wait for.
  bar_->setRange(minimum, std::max(maximum, minimum + 1));
  bar_->setValue(minimum);
  bar_->setTextVisible(true);
}

void ProgressDialog::SetPosition(int position) { bar_->setValue(position); }

void ProgressDialog::ShowFinished(int minimum) {
  bar_->setValue(minimum);
  bar_->setTextVisible(false);
}

void ProgressDialog::TakeRecord(RunRecord record) {
  record_ = std::move(record);
  stop_->setEnabled(false);
  continue_->setEnabled(true);
  continue_->setDefault(true);
  handlers_.ended();
  if (auto_close_->isChecked()) QMetaObject::invokeMethod(continue_, &QPushButton::click, Qt::QueuedConnection);
}

void ProgressDialog::reject() {
  if (record_) Continue();
}

void ProgressDialog::Continue() {
  if (!record_) return;
  const bool auto_close = auto_close_->isChecked();
  RunRecord record = std::move(*record_);
  record_.reset();
  done(auto_close ? 1 : 0);
  handlers_.leave(std::move(record), auto_close);
}

}  // namespace vidmetra::ui
