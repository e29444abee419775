// vidmetra: the desktop program.
#include <QApplication>
#include <QIcon>

#include "graph_window.h"
#include "main_dialog.h"
#include "svg_pixmap.h"
#include "user_prompts.h"
#include "vidmetra/metric_catalogue.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Vidmetra");
  QApplication::setDesktopFileName("vidmetra");
  vidmetra::ui::LoadDrawings();
  QApplication::setWindowIcon(QIcon(vidmetra::ui::SvgPixmap(":/vidmetra/vidmetra.svg", QSize(64, 64))));
  // The catalogue is complete before any run can start, and only read from then on.
  const vidmetra::MetricCatalogue& catalogue = vidmetra::MetricCatalogue::Instance();
  vidmetra::MeasurementSettings settings;
  const vidmetra::SettingsStore store;
  vidmetra::ui::QtUserPrompts prompts;
  vidmetra::ui::MainDialog dialog(catalogue, settings, store, prompts, vidmetra::ui::DefaultShellPaths());
  // Modal, so that the run's store, which the signal only lends, outlives the window.
  QObject::connect(&dialog, &vidmetra::ui::MainDialog::resultsReady, &dialog,
                   [&](const vidmetra::ui::ResultsBundle& bundle) {
                     if (!vidmetra::ui::GraphWindow::CanShow(bundle)) return;
                     vidmetra::ui::GraphWindow window(bundle, catalogue, &dialog);
                     window.exec();
                   });
  dialog.show();
  return QApplication::exec();
}
