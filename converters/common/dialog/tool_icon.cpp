#include "vidmetra/converters/tool_icon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace vidmetra::converters {

QIcon ToolIcon(const QString& tool_name) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(40, 70, 120));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(1, 3, 30, 26, 4, 4);
  painter.setBrush(Qt::white);
  for (int x = 4; x < 30; x += 6) {
    painter.drawRect(x, 5, 3, 3);
    painter.drawRect(x, 24, 3, 3);
  }
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(14);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 8, 32, 16), Qt::AlignCenter, tool_name.left(1).toUpper());
  return QIcon(pixmap);
}

}  // namespace vidmetra::converters
