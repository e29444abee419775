#include "svg_pixmap.h"

#include <QPainter>
#include <QSvgRenderer>

// Resource registration has to happen outside any namespace.
static void RegisterDrawings() { Q_INIT_RESOURCE(resources); }

namespace vidmetra::ui {

void LoadDrawings() { RegisterDrawings(); }

QPixmap SvgPixmap(const QString& resource, QSize size, qreal device_pixel_ratio) {
  QSvgRenderer renderer(resource);
  QPixmap pixmap(size * device_pixel_ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  painter.end();
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  return pixmap;
}

}  // namespace vidmetra::ui
