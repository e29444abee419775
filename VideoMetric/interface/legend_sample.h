#pragma once
// A legend sample of the graph window: a thick line in an input's colour, or the bad-frame triangle.
#include <QColor>
#include <QWidget>

namespace vidmetra::ui {

class LegendSample : public QWidget {
 public:
  // A line in `colour`, or with `triangle` the bad-frame mark.
  LegendSample(const QColor& colour, bool triangle, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
  bool triangle_;
};

}  // namespace vidmetra::ui
