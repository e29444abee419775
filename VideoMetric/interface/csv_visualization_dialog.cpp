#include "csv_visualization_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "combo_items.h"
#include "compressor_dialog.h"
#include "vidmetra/compressor_catalogue.h"
#include "vidmetra/video_compressor.h"

namespace vidmetra::ui {
namespace {

inline constexpr int kCustomNameCharacters = 60;
// The compressor's name as its 20-character label holds it; the whole name is in the label's tool tip.
inline constexpr int kCompressorNameCharacters = 20;

}  // namespace

CsvVisualizationDialog::CsvVisualizationDialog(QWidget* parent, MeasurementSettings& settings, UserPrompts& prompts)
    : OptionDialog(parent, "Vidmetra - Advanced CSV and visualization settings"),
      settings_(settings),
      prompts_(prompts) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CsvGroup());
  layout->addWidget(VisualizationGroup());
  layout->addLayout(OkCancelButtons());
  ShowSettings();
  EnableOutputs();

  connect(c_.csv_name_generation, &QComboBox::currentIndexChanged, this, [this] {
    c_.csv_custom_name->setEnabled(SelectedValue(*c_.csv_name_generation, -1) == kNameCustom);
  });
  connect(c_.csv_browse, &QPushButton::clicked, this, [this] { ChooseFolderInto(this, prompts_, *c_.csv_folder); });
  connect(c_.vis_browse, &QPushButton::clicked, this, [this] { ChooseFolderInto(this, prompts_, *c_.vis_folder); });
  connect(c_.choose_compression, &QPushButton::clicked, this, [this] { ChooseCompression(); });
}

QWidget* CsvVisualizationDialog::CsvGroup() {
  auto* group = new QGroupBox("CSV Settings", this);
  c_.csv_folder = FieldEdit(group);
  c_.csv_folder->setMinimumWidth(280);
  c_.csv_browse = new QPushButton("Browse", group);
  c_.csv_name_generation = new QComboBox(group);
  FillCombo(*c_.csv_name_generation, NameGenerationItems(true));
  c_.csv_custom_name = new QLineEdit(group);
  c_.csv_custom_name->setMaxLength(kCustomNameCharacters);
  c_.csv_type = new QComboBox(group);
  FillCombo(*c_.csv_type, CsvTypeItems());
  c_.csv_unicode = new QCheckBox("Create CSV in unicode", group);
  auto* form = new QFormLayout(group);
  form->addRow("Output dir:", BrowseRow(group, nullptr, c_.csv_folder, c_.csv_browse));
  form->addRow("Name generation:", c_.csv_name_generation);
  form->addRow("Custom name:", c_.csv_custom_name);
  form->addRow("CSV Type:", c_.csv_type);
  form->addRow(c_.csv_unicode);
  return group;
}

QWidget* CsvVisualizationDialog::VisualizationGroup() {
  auto* group = new QGroupBox("Visualization settings", this);
  c_.vis_name_generation = new QComboBox(group);
  FillCombo(*c_.vis_name_generation, NameGenerationItems(false));
  c_.vis_folder = FieldEdit(group);
  c_.vis_browse = new QPushButton("Browse", group);
  c_.choose_compression = new QPushButton("Choose compression", group);
  c_.compressor_name = new QLabel(group);
  auto* compression = new QHBoxLayout;
  compression->addWidget(c_.choose_compression);
  compression->addWidget(new QLabel("Current:", group));
  compression->addWidget(c_.compressor_name, 1);
  auto* caption = new QGroupBox("Caption settings", group);
  c_.caption_position = new QComboBox(caption);
  FillCombo(*c_.caption_position, CaptionPositionItems());
  c_.print_metric_value = new QCheckBox("Print metric value", caption);
  c_.print_frame_number = new QCheckBox("Print frame number", caption);
  auto* caption_form = new QFormLayout(caption);
  caption_form->addRow("Position:", c_.caption_position);
  caption_form->addRow(c_.print_metric_value);
  caption_form->addRow(c_.print_frame_number);
  auto* form = new QFormLayout(group);
  form->addRow("Name generation:", c_.vis_name_generation);
  form->addRow("Output dir:", BrowseRow(group, nullptr, c_.vis_folder, c_.vis_browse));
  form->addRow(compression);
  form->addRow(caption);
  return group;
}

void CsvVisualizationDialog::ShowSettings() {
  const CsvOutputSettings& csv = settings_.csv;
  c_.csv_folder->setText(QString::fromStdString(csv.output_folder));
  SelectValue(*c_.csv_name_generation, csv.name_generation);
  c_.csv_custom_name->setText(QString::fromStdString(csv.custom_name));
  SelectValue(*c_.csv_type, csv.separator);
  c_.csv_unicode->setChecked(csv.unicode);
  SelectValue(*c_.vis_name_generation, settings_.visualization.name_generation);
  c_.vis_folder->setText(QString::fromStdString(settings_.visualization.output_folder));
  SelectValue(*c_.caption_position, settings_.caption.position);
  c_.print_metric_value->setChecked(settings_.caption.print_metric_value);
  c_.print_frame_number->setChecked(settings_.caption.print_frame_number);
  ShowCompressorName();
}

void CsvVisualizationDialog::ShowCompressorName() {
  const QString name = QString::fromStdString(CompressorName(settings_.visualization.compressor));
  c_.compressor_name->setText(name.left(kCompressorNameCharacters));
  c_.compressor_name->setToolTip(name);
}

void CsvVisualizationDialog::ChooseCompression() {
  // The choice is kept at once: leaving this dialog with "Cancel" afterwards does not undo it.
  VisualizationSettings& visualization = settings_.visualization;
  DialogCompressorChooser chooser(this, visualization.compressor, prompts_);
  if (ChooseCompressor(chooser, visualization.compressor, Rgb24Format(visualization.width, visualization.height))) {
    ShowCompressorName();
  }
}

void CsvVisualizationDialog::EnableOutputs() {
  const bool csv = settings_.csv.enabled;
  c_.csv_custom_name->setEnabled(csv && settings_.csv.name_generation == kNameCustom);
  for (QWidget* control : std::initializer_list<QWidget*>{c_.csv_name_generation, c_.csv_browse, c_.csv_folder,
                                                          c_.csv_type, c_.csv_unicode}) {
    control->setEnabled(csv);
  }
  const bool visualization = settings_.visualization.enabled;
  for (QWidget* control :
       std::initializer_list<QWidget*>{c_.vis_name_generation, c_.vis_browse, c_.choose_compression, c_.vis_folder,
                                       c_.caption_position, c_.print_frame_number, c_.print_metric_value}) {
    control->setEnabled(visualization);
  }
}

void CsvVisualizationDialog::Apply() {
  if (settings_.csv.enabled) {
    CsvOutputSettings& csv = settings_.csv;
    csv.name_generation = SelectedValue(*c_.csv_name_generation, csv.name_generation);
    if (csv.name_generation == kNameCustom) csv.custom_name = c_.csv_custom_name->text().toStdString();
    csv.separator = SelectedValue(*c_.csv_type, csv.separator);
    csv.output_folder = FieldText(*c_.csv_folder);
    csv.unicode = c_.csv_unicode->isChecked();
  }
  if (settings_.visualization.enabled) {
    VisualizationSettings& visualization = settings_.visualization;
    visualization.name_generation = SelectedValue(*c_.vis_name_generation, visualization.name_generation);
    settings_.caption.position = SelectedValue(*c_.caption_position, settings_.caption.position);
    settings_.caption.print_frame_number = c_.print_frame_number->isChecked();
    settings_.caption.print_metric_value = c_.print_metric_value->isChecked();
    visualization.output_folder = FieldText(*c_.vis_folder);
    visualization.caption = settings_.caption;
  }
}

}  // namespace vidmetra::ui
