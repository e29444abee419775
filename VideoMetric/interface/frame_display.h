#pragma once
// The picture area of the frame window: shows the part of the picture the zoom and pan select, and pans when
// dragged. Painting only stretches the picture it holds; nothing is read or converted here.
#include <QImage>
#include <QWidget>

#include "frame_zoom.h"

namespace vidmetra::ui {

class FrameDisplay : public QWidget {
  Q_OBJECT
 public:
  explicit FrameDisplay(QWidget* parent = nullptr);

  void SetPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }
  FrameZoom& zoom() { return zoom_; }
  // What the display shows, drawn as on screen.
  QImage Render() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void PaintOn(QPainter& painter) const;

  QImage picture_;
  FrameZoom zoom_;
  bool dragging_ = false;
  QPoint last_;
};

}  // namespace vidmetra::ui
