#include "graph_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "plot_colours.h"
#include "vidmetra/output_name.h"

namespace vidmetra::plot {
namespace {

QString FrameLabel(int32_t frame) { return QString::asprintf("%-i", frame); }

}  // namespace

GraphPainter::GraphPainter(const PlotSource& source, ValueRange values, const QFont& font, int curve_width)
    : source_(source), values_(values), font_(font), curve_width_(std::max(1, curve_width)) {}

PlotArea GraphPainter::Area(const QSize& size) const {
  const QFontMetrics metrics(font_);
  const int character = metrics.averageCharWidth();
  const int text = metrics.height();
  PlotArea area;
  area.left = 7 * character + text + 2;
  const int bottom = size.height() - 2 * text - 5;
  area.width = std::max(0, size.width() - area.left - 7 * character);
  area.top = text;
  area.height = std::max(0, bottom - text);
  return area;
}

int GraphPainter::FrameX(const PlotArea& area, const PanelView& view, int32_t frame) const {
  const int64_t span = int64_t{view.last} - view.first;
  if (span <= 0) return area.left;
  return area.left + static_cast<int>((int64_t{frame} - view.first) * area.width / span);
}

int GraphPainter::ValueY(const PlotArea& area, double value) const {
  const double span = double{values_.maximum} - values_.minimum;
  const double y = area.height - (value - values_.minimum) * area.height / span;
  // Values outside the extremes cannot come from the run, but must not send the painter far off the image.
  return area.top + static_cast<int>(std::lround(std::clamp(y, -1.0, area.height + 1.0)));
}

void GraphPainter::Draw(QImage& image, const PanelView& view) const {
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font_);
  const PlotArea area = Area(image.size());
  DrawControlWindow(painter, area, view);
  DrawValueTicks(painter, area, view.grid);
  DrawFrameLines(painter, area, view, image.size());
  DrawBadFrames(painter, area, view);
  DrawTitles(painter, area);
  DrawCurves(painter, area, view);
}

void GraphPainter::DrawControlWindow(QPainter& painter, const PlotArea& area, const PanelView& view) const {
  if (!view.control_start || !view.control_end) return;
  const int x0 = FrameX(area, view, *view.control_start);
  const int x1 = FrameX(area, view, *view.control_end);
  painter.fillRect(QRect(x0, area.top, x1 - x0 + 1, area.height + 1), ControlWindowColour());
}

void GraphPainter::DrawValueTicks(QPainter& painter, const PlotArea& area, bool grid) const {
  const double minimum = values_.minimum;
  const double maximum = values_.maximum;
  const ValueTicks ticks = ComputeValueTicks(minimum, maximum);
  const int decimals = LabelDecimals(ticks.step, minimum, maximum);
  struct Tick {
    int y;
    double value;
  };
  std::vector<Tick> list{{area.bottom(), minimum}};
  for (double t = ticks.first; t < maximum; t += ticks.step) list.push_back({ValueY(area, t), t});
  list.push_back({area.top, maximum});

  const QFontMetrics metrics(font_);
  const int text = metrics.height();
  const int right = area.left - metrics.averageCharWidth();
  QString previous;
  std::optional<int> previous_label_y;
  for (size_t i = 0; i < list.size(); ++i) {
    const QString label = QString::asprintf("%-.*f", decimals, list[i].value);
    if (label == previous) continue;
    previous = label;
    const int y = list[i].y;
    const bool edge = i == 0 || i + 1 == list.size();
    if (edge) {
      painter.setPen(Qt::black);
      painter.drawLine(area.left, y, area.left + area.width, y);
    } else if (grid) {
      painter.setPen(GridColour());
      painter.drawLine(area.left + 1, y, area.left + area.width - 1, y);
    } else {
      painter.setPen(Qt::black);
      painter.drawLine(area.left, y, area.left + 3, y);
    }
    // Labels are written upwards from the minimum; one that would touch the one below is left out.
    if (previous_label_y && *previous_label_y - y < text) continue;
    previous_label_y = y;
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, y - text / 2, right, text), Qt::AlignRight | Qt::AlignVCenter, label);
  }
}

void GraphPainter::DrawFrameLines(QPainter& painter, const PlotArea& area, const PanelView& view,
                                  const QSize& size) const {
  const QFontMetrics metrics(font_);
  auto label_rect = [&](int32_t frame) {
    const int width = metrics.horizontalAdvance(FrameLabel(frame));
    const int left = std::clamp(FrameX(area, view, frame) - width / 2, 0, std::max(0, size.width() - width));
    return QRect(left, area.bottom() + 5, width, metrics.height());
  };
  auto line = [&](int32_t frame, const QColor& colour, bool labelled) {
    const int x = FrameX(area, view, frame);
    painter.setPen(colour);
    painter.drawLine(x, area.bottom(), x, area.top);
    painter.setPen(Qt::black);
    if (labelled) painter.drawText(label_rect(frame), Qt::AlignLeft | Qt::AlignTop, FrameLabel(frame));
  };
  line(view.first, Qt::black, true);
  line(view.last, Qt::black, view.last != view.first);
  if (view.current && *view.current != view.first && *view.current != view.last) {
    // The current frame's number gives way to the range's ends rather than overwrite them.
    const QRect own = label_rect(*view.current).adjusted(-4, 0, 4, 0);
    line(*view.current, CurrentFrameColour(),
         !own.intersects(label_rect(view.first)) && !own.intersects(label_rect(view.last)));
  }
}

void GraphPainter::DrawBadFrames(QPainter& painter, const PlotArea& area, const PanelView& view) const {
  if (!source_.bad_frames) return;
  painter.setPen(BadFrameColour());
  painter.setBrush(BadFrameColour());
  for (const int32_t frame : *source_.bad_frames) {
    if (frame < view.first || frame > view.last) continue;
    const int x = FrameX(area, view, frame);
    const int y = area.bottom();
    painter.drawPolygon(QPolygon({QPoint(x, y), QPoint(x - 2, y + 4), QPoint(x + 2, y + 4)}));
  }
  painter.setBrush(Qt::NoBrush);
}

void GraphPainter::DrawTitles(QPainter& painter, const PlotArea& area) const {
  const QFontMetrics metrics(font_);
  painter.setPen(Qt::black);
  const QString title = QString::fromStdString(source_.value_title);
  const int title_width = metrics.horizontalAdvance(title);
  painter.save();
  // Turned a quarter to the left, read from bottom to top, its top edge at x = 2.
  painter.translate(2, area.top + area.height / 2 + title_width / 2);
  painter.rotate(-90);
  painter.drawText(QRect(0, 0, title_width, metrics.height()), Qt::AlignLeft | Qt::AlignTop, title);
  painter.restore();
  const int x = area.left + area.width - 5 * metrics.averageCharWidth();
  painter.drawText(QRect(x, area.bottom() + 5 + metrics.height(), 6 * metrics.averageCharWidth(), metrics.height()),
                   Qt::AlignLeft | Qt::AlignTop, "Frame");
}

void GraphPainter::DrawCurves(QPainter& painter, const PlotArea& area, const PanelView& view) const {
  painter.save();
  painter.setClipRect(QRect(area.left, area.top, area.width + 1, area.height + 1));
  for (const auto& [input, id] : source_.series) {
    painter.setPen(QPen(InputColour(input), curve_width_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    QPolygon points;
    for (int32_t frame = view.first; frame <= view.last; ++frame) {
      const std::optional<float> value = source_.store->ValueAt(id, frame);
      if (!value || !std::isfinite(*value)) break;
      points << QPoint(FrameX(area, view, frame), ValueY(area, *value));
    }
    if (view.first == view.last && points.size() == 1) {
      painter.drawLine(area.left, points[0].y(), area.left + area.width, points[0].y());
    } else if (points.size() > 1) {
      painter.drawPolyline(points);
    }
  }
  painter.restore();
}

void GraphPainter::DrawLegend(QImage& image) const {
  QPainter painter(&image);
  painter.setFont(font_);
  const QFontMetrics metrics(font_);
  const int text = metrics.height();
  painter.setPen(WatermarkColour());
  painter.drawText(QPoint(2, image.height() - metrics.descent() - text + metrics.ascent()), "Vidmetra");

  int longest = 0;
  for (const auto& [input, entry] : source_.inputs) {
    longest = std::max(longest, metrics.horizontalAdvance(QString::fromStdString(std::string(FileNameOf(entry.path)))));
  }
  const int width = longest + 40;
  const int height = static_cast<int>(source_.inputs.size()) * text + text;
  const QRect box(image.width() - width - 1, 0, width, height);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawRect(box);
  int row = 0;
  for (const auto& [input, entry] : source_.inputs) {
    const int middle = box.top() + text / 2 + row * text + text / 2;
    painter.setPen(QPen(InputColour(input), 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(box.left() + 5, middle, box.left() + 25, middle);
    painter.setPen(Qt::black);
    painter.drawText(QRect(box.left() + 30, middle - text / 2, width - 30, text), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(std::string(FileNameOf(entry.path))));
    ++row;
  }
}

}  // namespace vidmetra::plot
