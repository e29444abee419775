#include "yuv_file_dialog.h"

#include <QFormLayout>
#include <QVBoxLayout>
#include <limits>

#include "combo_items.h"
#include "dialog_parts.h"
#include "input_rules.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/output_name.h"

namespace vidmetra::ui {
namespace {

// An unsigned number, or 0 for anything else; numbers beyond what a size can hold count as no number.
int32_t SizeOf(const QLineEdit& edit) {
  bool ok = false;
  const uint value = edit.text().trimmed().toUInt(&ok);
  if (!ok || value > static_cast<uint>(std::numeric_limits<int32_t>::max())) return 0;
  return static_cast<int32_t>(value);
}

}  // namespace

YuvFileDialog::YuvFileDialog(QWidget* parent, InputFileEntry& entry, UserPrompts& prompts)
    : QDialog(parent), entry_(entry), prompts_(prompts) {
  setWindowTitle("Vidmetra - YUV File settings");
  setModal(true);
  file_name_ = new QLabel(QString::fromStdString(std::string(FileNameOf(entry.path))), this);
  width_ = new QLineEdit(QString::number(static_cast<uint32_t>(entry.width)), this);
  height_ = new QLineEdit(QString::number(static_cast<uint32_t>(entry.height)), this);
  colour_mode_ = new QComboBox(this);
  FillCombo(*colour_mode_, YuvColourModeItems());
  SelectValue(*colour_mode_, IsValidColourMode(entry.colour_mode) ? entry.colour_mode : kYv12);
  ok_ = new QPushButton("OK", this);
  cancel_ = new QPushButton("Cancel", this);

  auto* form = new QFormLayout;
  form->addRow("Filename:", file_name_);
  form->addRow("Width:", width_);
  form->addRow("Height:", height_);
  form->addRow("Video color mode:", colour_mode_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(OkCancelRow(ok_, cancel_));

  connect(ok_, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(0); });
}

void YuvFileDialog::Confirm() {
  // Both sizes are taken before they are checked, so what was typed stays in the entry even when refused.
  entry_.height = SizeOf(*height_);
  entry_.width = SizeOf(*width_);
  if (entry_.width != 0 && entry_.height != 0) {
    entry_.colour_mode = SelectedValue(*colour_mode_, entry_.colour_mode);
    done(1);
    return;
  }
  prompts_.ShowError(this, "Specify nonzero width and height for YUV file!");
}

}  // namespace vidmetra::ui
