#pragma once
#include <QImage>
#include <QScrollArea>

#include "dib_document.h"

namespace vidmetra::converters {

// A scrolling child window showing a document's bitmap at one screen pixel per bitmap pixel, its palette
// applied; an empty 100 × 100 area when there is no picture to show.
class DibView : public QScrollArea {
 public:
  explicit DibView(DibDocument document, QWidget* parent = nullptr);

  DibDocument& Document() { return document_; }
  const QImage& Picture() const { return picture_; }
  // Shows the document's path as the window title.
  void UpdateTitle();

 private:
  DibDocument document_;
  QImage picture_;
};

// The picture a bitmap shows: the bitmap as a BMP file, decoded by Qt, which applies palettes and run-length
// compression the way the headers describe them.
QImage DibPicture(const DibImage& image);

}  // namespace vidmetra::converters
