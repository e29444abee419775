#pragma once
// One plot of the results graph window: draws into its back buffer whenever the view or the current frame
// changes and only copies that buffer when painted. The upper panel spans the whole range with the control
// window on it; the lower one spans the control window.
#include <QImage>
#include <QWidget>
#include <optional>

#include "graph_controller.h"
#include "graph_painter.h"

namespace vidmetra::ui {

class GraphPanel : public QWidget, public plot::GraphListener {
  Q_OBJECT
 public:
  GraphPanel(bool upper, const plot::PlotSource& source, plot::ValueRange values, plot::GraphController& controller,
             QWidget* parent = nullptr);

  void SetGrid(bool grid);
  void ViewChanged(int32_t view_start, int32_t view_end, int32_t current) override;

  // The panel drawn without the current-frame line, with watermark and legend; none for a panel that carries
  // the control window.
  std::optional<QImage> Copy() const;
  const QImage& image() const { return back_; }
  plot::PanelView View() const;
  plot::PlotArea Area() const { return painter_.Area(size()); }
  bool HasControlWindow() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Redraw();
  // Pixels per frame of this panel.
  double Scale() const;
  void FollowMouse(int x);

  bool upper_;
  plot::GraphController& controller_;
  plot::GraphPainter painter_;
  QImage back_;
  bool grid_ = true;
  bool dragging_ = false;
  int drag_offset_ = 0;
};

}  // namespace vidmetra::ui
