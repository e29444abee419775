#include "graph_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace vidmetra::ui {

GraphPanel::GraphPanel(bool upper, const plot::PlotSource& source, plot::ValueRange values,
                       plot::GraphController& controller, QWidget* parent)
    : QWidget(parent), upper_(upper), controller_(controller), painter_(source, values, font()) {
  setWindowTitle("Result of measurements");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 90);
}

bool GraphPanel::HasControlWindow() const { return upper_ && controller_.last() - controller_.first() >= 3; }

plot::PanelView GraphPanel::View() const {
  plot::PanelView view;
  view.grid = grid_;
  view.current = controller_.current();
  if (upper_) {
    view.first = controller_.first();
    view.last = controller_.last();
    if (HasControlWindow()) {
      view.control_start = controller_.view_start();
      view.control_end = controller_.view_end();
    }
  } else {
    view.first = controller_.view_start();
    view.last = controller_.view_end();
  }
  return view;
}

void GraphPanel::SetGrid(bool grid) {
  grid_ = grid;
  Redraw();
}

void GraphPanel::ViewChanged(int32_t, int32_t, int32_t) { Redraw(); }

void GraphPanel::Redraw() {
  if (back_.size() != size()) back_ = QImage(size(), QImage::Format_RGB32);
  if (back_.isNull()) return;
  painter_.Draw(back_, View());
  update();
}

std::optional<QImage> GraphPanel::Copy() const {
  if (HasControlWindow()) return std::nullopt;
  QImage copy(size(), QImage::Format_RGB32);
  plot::PanelView view = View();
  view.current.reset();
  painter_.Draw(copy, view);
  painter_.DrawLegend(copy);
  return copy;
}

void GraphPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, back_);
}

void GraphPanel::resizeEvent(QResizeEvent*) { Redraw(); }

double GraphPanel::Scale() const {
  const plot::PanelView view = View();
  const int32_t span = view.last - view.first;
  return span <= 0 ? 0.0 : static_cast<double>(Area().width) / span;
}

void GraphPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int x = event->position().toPoint().x();
  const plot::PlotArea area = Area();
  const double scale = Scale();
  if (scale <= 0) return;
  if (HasControlWindow()) {
    const plot::PanelView view = View();
    const int x0 = painter_.FrameX(area, view, controller_.view_start());
    const int x1 = painter_.FrameX(area, view, controller_.view_end());
    if (x < x0 || x > x1) return;
    dragging_ = true;
    drag_offset_ = x - x0;
    return;
  }
  if (upper_) return;
  if (x <= area.left || x > area.left + (controller_.view_end() - controller_.view_start()) * scale) return;
  dragging_ = true;
  FollowMouse(x);
}

void GraphPanel::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) FollowMouse(event->position().toPoint().x());
}

void GraphPanel::FollowMouse(int x) {
  const plot::PlotArea area = Area();
  const double scale = Scale();
  if (scale <= 0) return;
  if (HasControlWindow()) {
    const auto offset = static_cast<int32_t>(std::trunc((x - drag_offset_ - area.left) / scale));
    controller_.GoToFrame(controller_.first() + offset + (controller_.view_end() - controller_.view_start()) / 2, true);
  } else {
    controller_.GoToFrame(controller_.view_start() + static_cast<int32_t>((x - area.left) / scale), false);
  }
}

void GraphPanel::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void GraphPanel::leaveEvent(QEvent*) { dragging_ = false; }

void GraphPanel::wheelEvent(QWheelEvent* event) { controller_.Wheel(event->angleDelta().y()); }

}  // namespace vidmetra::ui
