#include <QApplication>
#include <QStringList>
#include <iostream>

#include "vidmetra/converters/tool_program.h"
#include "viewer_window.h"

// bitmapview [FILE...]: opens the viewer with the given bitmaps.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList files = application.arguments().mid(1);
  if (files.contains("--help")) {
    std::cout << "Usage: bitmapview [FILE...]\nOpens the bitmap viewer, with each FILE (a .bmp or .dib file) in a "
                 "window of its own.\n";
    return 0;
  }
  vidmetra::converters::UseConverterFont(application);
  vidmetra::converters::ViewerWindow window;
  window.resize(800, 600);
  window.show();
  for (const QString& file : files) window.OpenFile(file);
  return application.exec();
}
