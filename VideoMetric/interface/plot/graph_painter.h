#pragma once
// Draws one results panel into an off-screen image: axes, value ticks, frame lines, bad-frame marks, titles and
// the curves of every input; and the watermark and legend box of a copied plot. The panel windows, the clipboard
// copy and the plot files all draw through here.
#include <QFont>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <optional>

#include "plot_source.h"

namespace vidmetra::plot {

// Which frames a panel shows and what it marks.
struct PanelView {
  int32_t first = 0;  // the panel's first and last frame
  int32_t last = 0;
  std::optional<int32_t> control_start;  // the control window, upper panel only
  std::optional<int32_t> control_end;
  std::optional<int32_t> current;  // the current-frame line; none in copies
  bool grid = true;
};

// The plot area of a panel, from the font's metrics and the panel's size.
struct PlotArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int bottom() const { return top + height; }
};

class GraphPainter {
 public:
  GraphPainter(const PlotSource& source, ValueRange values, const QFont& font, int curve_width = 1);

  PlotArea Area(const QSize& size) const;
  // Frame to x within the image, for a panel spanning first..last.
  int FrameX(const PlotArea& area, const PanelView& view, int32_t frame) const;
  // Value to y within the image.
  int ValueY(const PlotArea& area, double value) const;

  // Fills the whole image.
  void Draw(QImage& image, const PanelView& view) const;
  // "Vidmetra" at the bottom left and the box naming every input in its colour at the top right.
  void DrawLegend(QImage& image) const;

 private:
  void DrawControlWindow(QPainter& painter, const PlotArea& area, const PanelView& view) const;
  void DrawValueTicks(QPainter& painter, const PlotArea& area, bool grid) const;
  void DrawFrameLines(QPainter& painter, const PlotArea& area, const PanelView& view, const QSize& size) const;
  void DrawBadFrames(QPainter& painter, const PlotArea& area, const PanelView& view) const;
  void DrawTitles(QPainter& painter, const PlotArea& area) const;
  void DrawCurves(QPainter& painter, const PlotArea& area, const PanelView& view) const;

  const PlotSource& source_;
  ValueRange values_;
  QFont font_;
  int curve_width_;
};

}  // namespace vidmetra::plot
