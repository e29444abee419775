#include "graph_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

#include "frame_window.h"
#include "graph_panel.h"
#include "hold_repeat_button.h"
#include "legend_sample.h"
#include "plot_colours.h"
#include "viewer_keys.h"
#include "wait_cursor.h"
#include "vidmetra/file_reader_opener.h"

namespace vidmetra::ui {
namespace {

void SetTip(QWidget* widget, const QString& text) { widget->setToolTip(text); }

QPushButton* IconButton(QPushButton* button, QStyle::StandardPixmap icon, const QString& tip) {
  button->setIcon(button->style()->standardIcon(icon));
  SetTip(button, tip);
  return button;
}

HoldRepeatButton* RepeatButton(QWidget* parent, const QString& text, const QString& tip) {
  auto* button = new HoldRepeatButton(parent);
  button->setText(text);
  SetTip(button, tip);
  return button;
}

}  // namespace

bool GraphWindow::CanShow(const ResultsBundle& bundle) {
  return bundle.store != nullptr && plot::ComputePlotRange(*bundle.store).has_value();
}

GraphWindow::GraphWindow(const ResultsBundle& bundle, const MetricCatalogue& catalogue, QWidget* parent)
    : QDialog(parent),
      bundle_(bundle),
      source_(plot::MakePlotSource(*bundle.store, bundle.inputs, bundle.bad_frames, catalogue)) {
  setWindowTitle("Vidmetra - Results visualization");
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  const plot::PlotRange range = *plot::ComputePlotRange(*bundle.store);
  controller_ = std::make_unique<plot::GraphController>(range.first, range.last, bundle.bad_frames);
  upper_ = new GraphPanel(true, source_, range.values, *controller_, this);
  lower_ = new GraphPanel(false, source_, range.values, *controller_, this);

  auto* separator = new QFrame(this);
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  auto* controls = new QHBoxLayout;
  controls->addWidget(BuildLegend());
  controls->addWidget(BuildValues());
  controls->addWidget(BuildSlide(), 1);
  controls->addWidget(BuildControls());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(upper_, 1);
  layout->addWidget(lower_, 1);
  layout->addWidget(separator);
  layout->addLayout(controls);
  resize(1000, 640);

  controller_->AddListener(upper_);
  controller_->AddListener(lower_);
  controller_->AddListener(this);
  controller_->GoToFrame(controller_->current(), true);
  AddKeys();
}

GraphWindow::~GraphWindow() {
  // The frame window listens to the controller, which goes before Qt would delete the child windows.
  delete frame_window_.data();
  controller_->RemoveListener(this);
}

QWidget* GraphWindow::BuildLegend() {
  auto* group = new QGroupBox("Legend", this);
  auto* grid = new QGridLayout(group);
  const char* const names[] = {"Original", "First processed", "Second processed"};
  for (int input = 0; input < 3; ++input) {
    auto* label = new QLabel(names[input], group);
    label->setEnabled(false);
    const auto it = bundle_.inputs.find(input);
    if (it != bundle_.inputs.end()) {
      SetTip(label, QString::fromStdString(it->second.path));
      label->setEnabled(true);
    }
    grid->addWidget(new LegendSample(plot::InputColour(input), false, group), input, 0);
    grid->addWidget(label, input, 1);
  }
  auto* bad = new QLabel("Bad frames", group);
  bad->setEnabled(bundle_.bad_frames.has_value());
  grid->addWidget(new LegendSample(plot::BadFrameColour(), true, group), 3, 0);
  grid->addWidget(bad, 3, 1);
  return group;
}

QWidget* GraphWindow::BuildValues() {
  auto* group = new QGroupBox("Values", this);
  auto* column = new QVBoxLayout(group);
  for (size_t input = 0; input < value_labels_.size(); ++input) {
    value_labels_[input] = new QLabel(group);
    value_labels_[input]->setMinimumWidth(fontMetrics().horizontalAdvance("-0000.0000") + 8);
    QPalette palette = value_labels_[input]->palette();
    palette.setColor(QPalette::WindowText, plot::InputColour(static_cast<int32_t>(input)));
    value_labels_[input]->setPalette(palette);
    column->addWidget(value_labels_[input]);
  }
  column->addStretch(1);
  return group;
}

QWidget* GraphWindow::BuildSlide() {
  auto* group = new QGroupBox("Video slide", this);
  auto* row = new QHBoxLayout(group);
  slider_ = new QSlider(Qt::Horizontal, group);
  slider_->setRange(controller_->first(), controller_->last());
  slider_->setValue(controller_->current());
  slider_->setFocusPolicy(Qt::NoFocus);  // the arrow keys belong to the whole window
  slider_->setMinimumWidth(180);
  connect(slider_, &QSlider::valueChanged, this, [this](int value) { controller_->GoToFrame(value, true); });
  frame_field_ = new QLineEdit(group);
  frame_field_->setReadOnly(true);
  frame_field_->setFocusPolicy(Qt::NoFocus);
  frame_field_->setFixedWidth(fontMetrics().horizontalAdvance("00000000") + 10);
  row->addWidget(slider_, 1);
  row->addWidget(frame_field_);
  return group;
}

QWidget* GraphWindow::BuildControls() {
  auto* group = new QGroupBox("Controls", this);
  auto* row = new QHBoxLayout(group);
  grid_ = new QCheckBox("Show grid", group);
  grid_->setChecked(true);
  connect(grid_, &QCheckBox::toggled, this, [this](bool on) {
    upper_->SetGrid(on);
    lower_->SetGrid(on);
  });
  auto* previous = RepeatButton(group, {}, "Go to the previous frame [left arrow]\n(you can hold button to go through frames)");
  previous->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
  auto* next = RepeatButton(group, {}, "Go to the next frame [right arrow]\n(you can hold button to go through frames)");
  next->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
  auto* wider = RepeatButton(group, "+", "Increase radius of control window\n(you can hold button to increase it)");
  auto* narrower = RepeatButton(group, "-", "Decrease radius of control window\n(you can hold button to decrease it)");
  for (QPushButton* button : {wider, narrower}) button->setFixedWidth(button->sizeHint().height() + 8);
  auto* previous_bad = IconButton(new QPushButton(group), QStyle::SP_MediaSkipBackward,
                                  "Go to previous bad frame [Ctrl + left arrow]");
  auto* next_bad = IconButton(new QPushButton(group), QStyle::SP_MediaSkipForward,
                              "Go to next bad frame [Ctrl + right arrow]");
  auto* copy = IconButton(new QPushButton("Copy", group), QStyle::SP_FileDialogContentsView,
                          "Copy lower plot to clipboard [Ctrl + G]");
  auto* show_frame = new QPushButton("Show frame", group);
  SetTip(show_frame, "Show current frame");
  previous_bad->setEnabled(bundle_.bad_frames.has_value());
  next_bad->setEnabled(bundle_.bad_frames.has_value());
  connect(previous, &HoldRepeatButton::command, this, [this] { controller_->PreviousFrame(); });
  connect(next, &HoldRepeatButton::command, this, [this] { controller_->NextFrame(); });
  connect(wider, &HoldRepeatButton::command, this, [this] { controller_->Widen(); });
  connect(narrower, &HoldRepeatButton::command, this, [this] { controller_->Narrow(); });
  connect(previous_bad, &QPushButton::clicked, this, [this] { controller_->PreviousBadFrame(); });
  connect(next_bad, &QPushButton::clicked, this, [this] { controller_->NextBadFrame(); });
  connect(copy, &QPushButton::clicked, this, &GraphWindow::CopyPlot);
  connect(show_frame, &QPushButton::clicked, this, &GraphWindow::ShowFrame);
  for (QWidget* widget : std::initializer_list<QWidget*>{grid_, previous, next, wider, narrower, previous_bad,
                                                          next_bad, copy}) {
    widget->setFocusPolicy(Qt::NoFocus);  // the arrow keys belong to the whole window
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setAutoDefault(false);
    row->addWidget(widget);
  }
  // Return opens the frame window.
  show_frame->setDefault(true);
  row->addWidget(show_frame);
  return group;
}

void GraphWindow::AddKeys() {
  ViewerCommands commands;
  commands.previous_frame = [this] { controller_->PreviousFrame(); };
  commands.next_frame = [this] { controller_->NextFrame(); };
  commands.previous_bad_frame = [this] { controller_->PreviousBadFrame(); };
  commands.next_bad_frame = [this] { controller_->NextBadFrame(); };
  commands.copy_plot = [this] { CopyPlot(); };
  commands.copy_frame = [this] {
    if (frame_window_) frame_window_->CopyFrame();
  };
  commands.select_input = [this](int input) {
    if (frame_window_) frame_window_->SelectInput(input);
  };
  AddViewerShortcuts(this, commands);
}

void GraphWindow::ViewChanged(int32_t, int32_t, int32_t current) {
  {
    const QSignalBlocker block(slider_);
    slider_->setValue(current);
  }
  frame_field_->setText(QString::number(current));
  for (const auto& [input, id] : source_.series) {
    if (input < 0 || input >= static_cast<int32_t>(value_labels_.size())) continue;
    if (const std::optional<float> value = bundle_.store->ValueAt(id, current)) {
      value_labels_[static_cast<size_t>(input)]->setText(QString::asprintf("%.4f", double{*value}).left(19));
    }
  }
}

void GraphWindow::CopyPlot() {
  const WaitCursor wait;
  for (GraphPanel* panel : {upper_, lower_}) {
    if (const std::optional<QImage> copy = panel->Copy()) QGuiApplication::clipboard()->setImage(*copy);
  }
}

void GraphWindow::ShowFrame() {
  if (frame_window_) return;
  const WaitCursor wait;
  FileReaderOpener opener;
  frame_window_ = new FrameWindow(*controller_, bundle_.inputs, bundle_.colour_matrix, opener, this);
  frame_window_->show();
}

FrameWindow* GraphWindow::frame_window() const { return frame_window_.data(); }

void GraphWindow::CloseFrameWindow() {
  if (frame_window_) frame_window_->close();
}

void GraphWindow::done(int result) {
  CloseFrameWindow();
  QDialog::done(result);
}

}  // namespace vidmetra::ui
