// The dialogs need an application object for their whole life; the offscreen platform needs no display.
#include <QApplication>
#include <gtest/gtest.h>

#include "svg_pixmap.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  vidmetra::ui::LoadDrawings();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
