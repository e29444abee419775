#include "main_dialog_controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialog_parts.h"
#include "svg_pixmap.h"

namespace vidmetra::ui {
namespace {

constexpr std::array<const char*, 7> kComponentTexts = {"Y-YUV", "U-YUV", "V-YUV", "L-LUV", "R-RGB", "G-RGB", "B-RGB"};

QLabel* Picture(QWidget* parent, const char* resource, QSize size) {
  auto* label = new QLabel(parent);
  label->setPixmap(SvgPixmap(resource, size, parent->devicePixelRatioF()));
  label->setFixedSize(size);
  return label;
}

QGroupBox* FileStep(QWidget& window, MainDialogControls& c) {
  auto* group = new QGroupBox("Step 1: File selection", &window);
  constexpr std::array<const char*, 3> kLabels = {"Original file (avi, avs, yuv, bmp):", "Processed (compressed):",
                                                  "Second processed (another codec):"};
  auto* grid = new QGridLayout(group);
  int row = 0;
  for (size_t i = 0; i < 3; ++i) {
    if (i == 2) {
      c.comparative = new QCheckBox("Comparative analysis", group);
      grid->addWidget(c.comparative, row++, 0, 1, 2);
    }
    c.paths[i] = FieldEdit(group);
    c.paths[i]->setMinimumWidth(340);
    c.browse[i] = new QPushButton("Browse", group);
    grid->addWidget(new QLabel(kLabels[i], group), row++, 0, 1, 2);
    grid->addWidget(c.paths[i], row, 0);
    grid->addWidget(c.browse[i], row++, 1);
  }
  c.browse[2]->setEnabled(false);
  c.advanced_files = new QPushButton("Advanced", group);
  grid->addWidget(c.advanced_files, row, 1);
  return group;
}

QGroupBox* MeasureStep(QWidget& window, MainDialogControls& c) {
  auto* group = new QGroupBox("Step 2: Measure Selection", &window);
  c.metric = new QComboBox(group);
  c.metric->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  c.metric_settings = new QPushButton("Settings", group);
  c.measure_info = new QPushButton("Online measure info", group);
  c.metric_settings_label = new QLabel("Metric settings", group);
  c.metric_settings_label->setWordWrap(true);
  auto* metric_row = new QHBoxLayout;
  metric_row->addWidget(c.metric, 1);
  metric_row->addWidget(c.metric_settings);
  metric_row->addWidget(c.measure_info);

  auto* components = new QGroupBox("Color component", group);
  auto* component_row = new QHBoxLayout(components);
  for (size_t i = 0; i < c.components.size(); ++i) {
    c.components[i] = new QRadioButton(kComponentTexts[i], components);
    component_row->addWidget(c.components[i]);
  }
  component_row->addStretch(1);
  auto* layout = new QVBoxLayout(group);
  layout->addLayout(metric_row);
  layout->addWidget(c.metric_settings_label);
  layout->addWidget(components);
  return group;
}

QGroupBox* OutputStep(QWidget& window, MainDialogControls& c) {
  auto* group = new QGroupBox("Step 3: Visualization Selection", &window);
  c.save_csv = new QCheckBox("Save CSV file", group);
  c.save_visualization = new QCheckBox("Save measure visualization video / image", group);
  c.csv_visualization_advanced = new QPushButton("Advanced", group);
  c.csv_visualization_advanced->setEnabled(false);
  c.save_bad_frames = new QCheckBox("Save \"bad frames\"", group);
  c.bad_frames_advanced = new QPushButton("Advanced", group);
  c.bad_frames_advanced->setEnabled(false);
  c.more_options = new QPushButton("More options", group);
  auto* grid = new QGridLayout;
  grid->addWidget(c.save_csv, 0, 0);
  grid->addWidget(c.save_visualization, 1, 0);
  grid->addWidget(c.csv_visualization_advanced, 0, 1, 2, 1, Qt::AlignVCenter);
  grid->addWidget(c.save_bad_frames, 2, 0);
  grid->addWidget(c.bad_frames_advanced, 2, 1);
  grid->addWidget(c.more_options, 3, 1);
  grid->setColumnStretch(0, 1);
  auto* layout = new QHBoxLayout(group);
  layout->addWidget(Picture(group, ":/vidmetra/side_banner.svg", QSize(96, 120)), 0, Qt::AlignTop);
  layout->addLayout(grid, 1);
  return group;
}

QLayout* ButtonRows(QWidget& window, MainDialogControls& c) {
  c.show_results = new QCheckBox("Show results visualization", &window);
  c.status = new QLabel("Choose input files and options", &window);
  c.status->setFrameShape(QFrame::StyledPanel);
  c.process = new QPushButton("Process", &window);
  c.process->setEnabled(false);
  c.process->setDefault(true);
  c.website = new QPushButton("Website", &window);
  c.feedback = new QPushButton("Feedback", &window);
  c.exit = new QPushButton("Exit", &window);
  auto* status_row = new QHBoxLayout;
  status_row->addWidget(c.status, 1);
  status_row->addWidget(c.process);
  auto* button_row = new QHBoxLayout;
  button_row->addWidget(c.show_results);
  button_row->addStretch(1);
  button_row->addWidget(c.website);
  button_row->addWidget(c.feedback);
  button_row->addWidget(c.exit);
  auto* rows = new QVBoxLayout;
  rows->addLayout(status_row);
  rows->addLayout(button_row);
  return rows;
}

}  // namespace

MainDialogControls BuildMainDialog(QWidget& window) {
  MainDialogControls c;
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(Picture(&window, ":/vidmetra/top_banner.svg", QSize(480, 64)), 0, Qt::AlignHCenter);
  layout->addWidget(FileStep(window, c));
  layout->addWidget(MeasureStep(window, c));
  layout->addWidget(OutputStep(window, c));
  layout->addLayout(ButtonRows(window, c));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return c;
}

}  // namespace vidmetra::ui
