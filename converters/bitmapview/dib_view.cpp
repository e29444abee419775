#include "dib_view.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>

#include "vidmetra/converters/dib_file.h"

namespace vidmetra::converters {

QImage DibPicture(const DibImage& image) {
  const std::vector<uint8_t> bytes = DibFileBytes(image);
  return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
}

DibView::DibView(DibDocument document, QWidget* parent) : QScrollArea(parent), document_(std::move(document)) {
  auto* label = new QLabel;
  if (document_.HasBitmap()) picture_ = DibPicture(document_.Image());
  if (picture_.isNull()) {
    label->setFixedSize(100, 100);
  } else {
    label->setPixmap(QPixmap::fromImage(picture_));
    label->setFixedSize(picture_.size());
  }
  setWidget(label);
  setBackgroundRole(QPalette::Dark);
  UpdateTitle();
}

void DibView::UpdateTitle() { setWindowTitle(QFileInfo(QString::fromStdString(document_.Path())).fileName()); }

}  // namespace vidmetra::converters
