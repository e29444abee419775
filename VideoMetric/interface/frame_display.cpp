#include "frame_display.h"

#include <QMouseEvent>
#include <QPainter>

namespace vidmetra::ui {

FrameDisplay::FrameDisplay(QWidget* parent) : QWidget(parent) {
  setWindowTitle("Frame visualization");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(64, 48);
}

void FrameDisplay::SetPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

QImage FrameDisplay::Render() const {
  QImage image(size(), QImage::Format_RGB32);
  QPainter painter(&image);
  PaintOn(painter);
  return image;
}

void FrameDisplay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintOn(painter);
}

void FrameDisplay::PaintOn(QPainter& painter) const {
  const QColor face = palette().color(QPalette::Window);
  if (picture_.isNull()) {
    painter.fillRect(rect(), face);
    return;
  }
  const ShownPart part = zoom_.Place(width(), height(), picture_.width(), picture_.height());
  const QRect target(part.target_x, part.target_y, part.target_width, part.target_height);
  // Only the margins get the face colour, so that the picture itself never flickers.
  const QRegion margins = QRegion(rect()).subtracted(QRegion(target));
  for (const QRect& margin : margins) painter.fillRect(margin, face);
  painter.drawImage(target, picture_, QRect(part.source_x, part.source_y, part.source_width, part.source_height));
}

void FrameDisplay::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton || at.x() <= 0 || at.y() <= 0 || at.x() >= width() - 1 ||
      at.y() >= height() - 1) {
    return;
  }
  dragging_ = true;
  last_ = at;
}

void FrameDisplay::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  zoom_.Drag(at.x() - last_.x(), at.y() - last_.y(), picture_.width(), picture_.height());
  last_ = at;
  update();
}

void FrameDisplay::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void FrameDisplay::leaveEvent(QEvent*) { dragging_ = false; }

}  // namespace vidmetra::ui
