#pragma once
#include <string>

#include "vidmetra/converters/dib_image.h"

namespace vidmetra::converters {

// One bitmap file opened in the viewer. Opening fails, leaving the document as it was, when the file is no
// bitmap the reader takes; saving writes the bitmap back with its headers made consistent.
class DibDocument {
 public:
  bool Open(const std::string& path);
  bool SaveAs(const std::string& path);

  bool HasBitmap() const { return has_bitmap_; }
  const DibImage& Image() const { return image_; }
  const std::string& Path() const { return path_; }
  bool Modified() const { return modified_; }

 private:
  DibImage image_;
  std::string path_;
  bool has_bitmap_ = false;
  bool modified_ = false;
};

}  // namespace vidmetra::converters
