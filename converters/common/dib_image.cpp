#include "vidmetra/converters/dib_image.h"

namespace vidmetra::converters {

DibImage DibImage::Bgr24(PictureSize size) {
  DibImage image;
  image.info.width = size.width;
  image.info.height = size.height;
  image.pixels.assign(size.PaddedBgrRowBytes() * static_cast<size_t>(size.height), 0);
  return image;
}

size_t DibImage::StoredImageBytes() const {
  return IsCompressed() ? info.image_size : Stride() * static_cast<size_t>(info.height);
}

bool DibImage::IsBgr24Of(PictureSize size) const {
  return info.bit_count == 24 && info.compression == kDibUncompressed && info.width == size.width &&
         info.height == size.height;
}

}  // namespace vidmetra::converters
