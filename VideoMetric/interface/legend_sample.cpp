#include "legend_sample.h"

#include <QPainter>
#include <QPolygon>

namespace vidmetra::ui {

LegendSample::LegendSample(const QColor& colour, bool triangle, QWidget* parent)
    : QWidget(parent), colour_(colour), triangle_(triangle) {
  setFixedSize(30, 14);
}

void LegendSample::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!triangle_) {
    painter.setPen(QPen(colour_, 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(0, height() / 2, width(), height() / 2);
    return;
  }
  painter.setPen(QPen(colour_, 1));
  const int base = height() - 2;
  painter.drawPolygon(QPolygon({QPoint(width() / 3, base), QPoint(2 * width() / 3, base), QPoint(width() / 2, 0)}));
}

}  // namespace vidmetra::ui
