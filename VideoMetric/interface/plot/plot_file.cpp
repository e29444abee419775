#include "plot_file.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "graph_painter.h"

namespace vidmetra::plot {
namespace {

// Fonts need an application object. A command-line program has none and perhaps no display: it gets one on the
// off-screen platform for as long as the drawing takes.
// Only real trouble reaches the terminal: the platform's notices (no runtime folder and the like) say nothing
// about the plot.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

std::unique_ptr<QGuiApplication> OffscreenApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  qInstallMessageHandler(QuietMessages);
  static int argc = 3;
  static char name[] = "vidmetra-cli";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// Text in proportion to the picture, so that a plot shrunk into a paper's column stays legible.
QFont PlotFont(int width, int height) {
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::clamp(std::min(width / 60, height / 28), 10, 48));
  return font;
}

}  // namespace

std::optional<std::string> WritePlotFile(const PlotSource& source, const std::string& path, int width, int height) {
  if (width < 200 || height < 120 || width > kMaxPlotDimension || height > kMaxPlotDimension) {
    return "the plot size must lie between 200x120 and 16384x16384";
  }
  const std::optional<PlotRange> range = ComputePlotRange(*source.store);
  if (!range) return "the run holds no values to plot";
  const std::unique_ptr<QGuiApplication> application = OffscreenApplication();
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return "not enough memory for a plot of that size";
  const GraphPainter painter(source, range->values, PlotFont(width, height), std::max(1, height / 300));
  PanelView view;
  view.first = range->first;
  view.last = range->last;
  view.grid = true;
  painter.Draw(image, view);
  painter.DrawLegend(image);
  QImageWriter writer(QString::fromStdString(path));
  if (!writer.write(image)) return "cannot write \"" + path + "\": " + writer.errorString().toStdString();
  return std::nullopt;
}

}  // namespace vidmetra::plot
