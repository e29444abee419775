#pragma once
#include <QPixmap>
#include <QString>

namespace vidmetra::ui {

// The drawings are compiled into the program's library; this registers them before the first window is built.
void LoadDrawings();

// The program's drawings are SVG resources, rendered at the size they are shown at (and the screen's scale).
QPixmap SvgPixmap(const QString& resource, QSize size, qreal device_pixel_ratio = 1.0);

}  // namespace vidmetra::ui
