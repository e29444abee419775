#include "vidmetra/converters/tool_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "vidmetra/converters/tool_icon.h"

namespace vidmetra::converters {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

bool HasBrowseButton(FieldKind kind) {
  return kind == FieldKind::kFolderOfFile || kind == FieldKind::kFolder || kind == FieldKind::kOpenFile ||
         kind == FieldKind::kSaveFile;
}

QString WithSeparator(const QString& folder) { return folder.endsWith('/') ? folder : folder + '/'; }

// Shows how far a counted run is and keeps the window painted while the conversion holds the thread.
class ProgressBarProgress : public RunProgress {
 public:
  explicit ProgressBarProgress(QProgressBar* bar) : bar_(bar) {}
  void Start(long long first, long long last) override {
    if (bar_ == nullptr) return;
    bar_->setRange(ToInt(first), ToInt(std::max(first, last)));
    bar_->setValue(ToInt(first));
  }
  void Reach(long long current) override {
    if (bar_ != nullptr) bar_->setValue(ToInt(current));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

 private:
  static int ToInt(long long value) {
    return static_cast<int>(std::min<long long>(value, std::numeric_limits<int>::max()));
  }
  QProgressBar* bar_;
};

}  // namespace

ToolDialog::ToolDialog(ToolDescription tool, QWidget* parent) : QDialog(parent), tool_(std::move(tool)) {
  setWindowTitle(Q(tool_.name));
  setWindowIcon(ToolIcon(Q(tool_.name)));
  auto* layout = new QVBoxLayout(this);
  auto* menu_bar = new QMenuBar(this);
  QAction* about = menu_bar->addMenu("帮助(&H)")->addAction(Q("关于 " + tool_.name + "(&A)..."));
  connect(about, &QAction::triggered, this, &ToolDialog::ShowAbout);
  layout->setMenuBar(menu_bar);
  QHBoxLayout* row = nullptr;
  for (const FieldSpec& field : tool_.fields) {
    if (row == nullptr || !field.same_row) {
      // Rows without a wide field keep their widgets together on the left.
      if (row != nullptr) row->addStretch();
      row = new QHBoxLayout;
      layout->addLayout(row);
    }
    AddField(row, field);
  }
  if (row != nullptr) row->addStretch();
  if (tool_.shows_progress) {
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setTextVisible(false);
    layout->addWidget(progress_);
  }
  auto* action = new QPushButton(Q(tool_.action), this);
  action->setObjectName("action");
  action->setDefault(true);
  connect(action, &QPushButton::clicked, this, &ToolDialog::RunAction);
  auto* action_row = new QHBoxLayout;
  action_row->addStretch();
  action_row->addWidget(action);
  layout->addLayout(action_row);
  message_sink_ = [this](const QString& text) { QMessageBox::information(this, windowTitle(), text); };
}

void ToolDialog::AddField(QHBoxLayout* row, const FieldSpec& field) {
  switch (field.kind) {
    case FieldKind::kNote:
      row->addWidget(new QLabel(Q(field.label), this));
      return;
    case FieldKind::kFlag: {
      auto* check = new QCheckBox(Q(field.label), this);
      check->setObjectName(Q(field.key));
      checks_[field.key] = check;
      row->addWidget(check);
      return;
    }
    case FieldKind::kSetButton: {
      auto* button = new QPushButton(Q(field.label), this);
      button->setObjectName(Q(field.key + "_" + field.label));
      connect(button, &QPushButton::clicked, this, [this, field] { edits_.at(field.key)->setText(Q(field.value)); });
      row->addWidget(button);
      return;
    }
    default:
      AddEdit(row, field);
  }
}

QLineEdit* ToolDialog::AddEdit(QHBoxLayout* row, const FieldSpec& field) {
  if (!field.label.empty()) row->addWidget(new QLabel(Q(field.label), this));
  auto* edit = new QLineEdit(this);
  edit->setObjectName(Q(field.key));
  edits_[field.key] = edit;
  if (field.kind == FieldKind::kNumber) {
    const QString pattern = QString("[0-9]{0,%1}").arg(field.max_digits);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    edit->setText("0");
    edit->setMaximumWidth(fontMetrics().horizontalAdvance('0') * (std::min(field.max_digits, 8) + 4));
  } else {
    edit->setMinimumWidth(fontMetrics().horizontalAdvance('0') * 36);
  }
  row->addWidget(edit, field.kind == FieldKind::kNumber ? 0 : 1);
  if (!field.hint.empty()) row->addWidget(new QLabel(Q(field.hint), this));
  if (HasBrowseButton(field.kind)) {
    auto* browse = new QPushButton("...", this);
    browse->setObjectName(Q(field.key + "_browse"));
    browse->setFixedWidth(fontMetrics().horizontalAdvance("....") + 12);
    connect(browse, &QPushButton::clicked, this, [this, field] { Browse(field); });
    row->addWidget(browse);
  }
  return edit;
}

void ToolDialog::Browse(const FieldSpec& field) {
  QLineEdit* edit = edits_.at(field.key);
  const QString filter = Q(field.filter);
  if (field.kind == FieldKind::kFolder) {
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), edit->text());
    if (!folder.isEmpty()) edit->setText(WithSeparator(folder));
    return;
  }
  QFileDialog dialog(this, QString(),
                     field.kind == FieldKind::kSaveFile ? QFileInfo(edit->text()).path() : edit->text(), filter);
  dialog.setAcceptMode(field.kind == FieldKind::kSaveFile ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(field.kind == FieldKind::kSaveFile ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(Q(field.default_suffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QFileInfo chosen(dialog.selectedFiles().first());
  if (field.kind != FieldKind::kFolderOfFile) {
    edit->setText(chosen.filePath());
    return;
  }
  edit->setText(WithSeparator(chosen.path()));
  const auto name = edits_.find(field.name_key);
  if (name != edits_.end() && name->second->text().isEmpty()) name->second->setText(chosen.fileName());
}

void ToolDialog::ShowAbout() {
  QMessageBox box(QMessageBox::Information, Q("关于 " + tool_.name), Q(tool_.name + " 1.0 版"), QMessageBox::Ok, this);
  box.setIconPixmap(windowIcon().pixmap(32, 32));
  box.exec();
}

FieldValues ToolDialog::Values() const {
  FieldValues values;
  for (const auto& [key, edit] : edits_) values.Set(key, edit->text().toStdString());
  for (const auto& [key, check] : checks_) values.Set(key, check->isChecked() ? "1" : "");
  return values;
}

void ToolDialog::RunAction() {
  setEnabled(false);
  ProgressBarProgress progress(progress_);
  const std::string message = RunConversion(tool_, Values(), progress);
  setEnabled(true);
  message_sink_(Q(message));
}

}  // namespace vidmetra::converters
