#include "frame_window.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

#include "frame_display.h"
#include "viewer_keys.h"
#include "wait_cursor.h"

namespace vidmetra::ui {
namespace {

QPushButton* Button(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip) {
  auto* button = new QPushButton(parent);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolTip(tip);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

const char* const kInputNames[] = {"Original, frame ", "First processed, frame ", "Second processed, frame "};

}  // namespace

FrameWindow::FrameWindow(plot::GraphController& controller, const std::map<int32_t, InputFileEntry>& inputs,
                         int32_t colour_matrix, ReaderOpener& opener, QWidget* parent)
    : QDialog(parent), controller_(controller), source_(inputs, opener, colour_matrix) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle("Vidmetra");
  selected_ = source_.FirstInput();
  display_ = new FrameDisplay(this);
  QWidget* controls = BuildControls(controller.bad_frames().has_value());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(display_, 1);
  layout->addWidget(controls, 0, Qt::AlignHCenter | Qt::AlignBottom);
  setMinimumSize(controls->sizeHint().width() + 24, controls->sizeHint().height() + 80);

  controller_.AddListener(this);
  ShowCurrent();
  AddKeys();
  // Room for the whole picture at 100 % above the controls, within the screen.
  const QSize picture(source_.width(), source_.height());
  QSize wanted(std::max(controls->sizeHint().width(), picture.width()) + 24,
               picture.height() + controls->sizeHint().height() + 36);
  if (const QScreen* screen = QApplication::primaryScreen()) wanted = wanted.boundedTo(screen->availableSize());
  resize(wanted);
}

FrameWindow::~FrameWindow() { controller_.RemoveListener(this); }

QWidget* FrameWindow::BuildControls(bool with_bad_frames) {
  auto* area = new QWidget(this);
  auto* row = new QHBoxLayout(area);
  auto* scale = new QGroupBox("Scale", area);
  auto* scale_row = new QHBoxLayout(scale);
  auto* out = new QPushButton("<", scale);
  auto* in = new QPushButton(">", scale);
  for (QPushButton* button : {out, in}) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance("<") + 24);
  }
  scale_slider_ = new QSlider(Qt::Horizontal, scale);
  scale_slider_->setRange(FrameZoom::kMinScale, FrameZoom::kSliderMaxScale);
  scale_slider_->setValue(FrameZoom::kMinScale);
  scale_slider_->setFocusPolicy(Qt::NoFocus);
  scale_slider_->setMinimumWidth(120);
  scale_field_ = new QLineEdit("100", scale);
  scale_field_->setReadOnly(true);
  scale_field_->setFocusPolicy(Qt::NoFocus);
  scale_field_->setFixedWidth(scale_field_->fontMetrics().horizontalAdvance("00000") + 10);
  scale_row->addWidget(out);
  scale_row->addWidget(scale_slider_);
  scale_row->addWidget(in);
  scale_row->addWidget(scale_field_);
  scale_row->addWidget(new QLabel("%", scale));
  connect(out, &QPushButton::clicked, this, &FrameWindow::ZoomOut);
  connect(in, &QPushButton::clicked, this, &FrameWindow::ZoomIn);
  connect(scale_slider_, &QSlider::valueChanged, this, &FrameWindow::SetScale);
  row->addWidget(scale);

  auto* choice = new QVBoxLayout;
  const char* const labels[] = {"Original file [&1]", "First processed [&2]", "Second processed [&3]"};
  for (int input = 0; input < 3; ++input) {
    auto* button = new QRadioButton(labels[input], area);
    button->setEnabled(source_.Has(input));
    button->setChecked(selected_ == input);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QRadioButton::clicked, this, [this, input] { SelectInput(input); });
    inputs_[static_cast<size_t>(input)] = button;
    choice->addWidget(button);
  }
  row->addLayout(choice);

  auto* copy = Button(area, QStyle::SP_FileDialogContentsView, "Copy current frame to clipboard [Ctrl + C]");
  copy->setText("Copy");
  auto* previous = Button(area, QStyle::SP_ArrowLeft,
                          "Go to the previous frame [left arrow] \n(you can use graph to navigate as well)");
  auto* next = Button(area, QStyle::SP_ArrowRight,
                      "Go to the next frame [right arrow]\n(you can use graph to navigate as well)");
  auto* previous_bad = Button(area, QStyle::SP_MediaSkipBackward,
                              "Go to previous bad frame [Ctrl + left arrow]\n(you can use graph to navigate as well)");
  auto* next_bad = Button(area, QStyle::SP_MediaSkipForward,
                          "Go to next bad frame [Ctrl + right arrow] \n(you can use graph to navigate as well)");
  previous_bad->setEnabled(with_bad_frames);
  next_bad->setEnabled(with_bad_frames);
  connect(copy, &QPushButton::clicked, this, &FrameWindow::CopyFrame);
  connect(previous, &QPushButton::clicked, this, [this] { controller_.PreviousFrame(); });
  connect(next, &QPushButton::clicked, this, [this] { controller_.NextFrame(); });
  connect(previous_bad, &QPushButton::clicked, this, [this] { controller_.PreviousBadFrame(); });
  connect(next_bad, &QPushButton::clicked, this, [this] { controller_.NextBadFrame(); });
  for (QPushButton* button : {copy, previous, next, previous_bad, next_bad}) row->addWidget(button);
  return area;
}

void FrameWindow::AddKeys() {
  ViewerCommands commands;
  commands.previous_frame = [this] { controller_.PreviousFrame(); };
  commands.next_frame = [this] { controller_.NextFrame(); };
  commands.previous_bad_frame = [this] { controller_.PreviousBadFrame(); };
  commands.next_bad_frame = [this] { controller_.NextBadFrame(); };
  // The plot is the graph window's: Ctrl+G here copies it as it does there.
  commands.copy_plot = [this] {
    if (parentWidget() != nullptr) QMetaObject::invokeMethod(parentWidget(), "CopyPlot");
  };
  commands.copy_frame = [this] { CopyFrame(); };
  commands.select_input = [this](int input) { SelectInput(input); };
  AddViewerShortcuts(this, commands);
}

void FrameWindow::ViewChanged(int32_t, int32_t, int32_t) { ShowCurrent(); }

void FrameWindow::ShowCurrent() {
  if (!selected_) return;
  const int32_t current = controller_.current();
  setWindowTitle(QString("Vidmetra - ") + kInputNames[*selected_] + QString::number(current));
  // A frame that cannot be read leaves the previous picture.
  if (!source_.Read(*selected_, current)) return;
  const QImage view(source_.picture().data(), source_.width(), source_.height(), source_.width() * 3,
                    QImage::Format_BGR888);
  display_->SetPicture(view.copy());
}

void FrameWindow::SelectInput(int input) {
  if (!source_.Has(input) || input < 0 || input > 2) return;
  const WaitCursor wait;
  selected_ = input;
  inputs_[static_cast<size_t>(input)]->setChecked(true);
  ShowCurrent();
}

void FrameWindow::CopyFrame() {
  if (display_->picture().isNull()) return;
  const WaitCursor wait;
  QApplication::clipboard()->setImage(display_->picture());
}

void FrameWindow::ZoomIn() {
  display_->zoom().ZoomIn();
  ScaleChanged();
}

void FrameWindow::ZoomOut() {
  display_->zoom().ZoomOut();
  ScaleChanged();
}

void FrameWindow::SetScale(int percent) {
  display_->zoom().SetScale(percent);
  ScaleChanged();
}

void FrameWindow::ScaleChanged() {
  const int scale = display_->zoom().scale();
  scale_field_->setText(QString::number(scale));
  {
    const QSignalBlocker block(scale_slider_);
    scale_slider_->setValue(scale);
  }
  display_->update();
}

void FrameWindow::mousePressEvent(QMouseEvent* event) {
  // A press on the background moves the window, as a press on its title bar would.
  if (event->button() == Qt::LeftButton && windowHandle() != nullptr) windowHandle()->startSystemMove();
}

}  // namespace vidmetra::ui
