#include "dib_document.h"

#include "vidmetra/converters/dib_file.h"

namespace vidmetra::converters {

bool DibDocument::Open(const std::string& path) {
  DibImage image;
  if (ReadDibFile(path, image) != DibLoad::kLoaded) return false;
  image_ = std::move(image);
  path_ = path;
  has_bitmap_ = true;
  modified_ = false;
  return true;
}

bool DibDocument::SaveAs(const std::string& path) {
  if (!has_bitmap_ || !WriteDibFile(path, image_)) return false;
  path_ = path;
  modified_ = false;
  return true;
}

}  // namespace vidmetra::converters
