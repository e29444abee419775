#pragma once
#include <array>
#include <string>
#include <vector>

#include "vidmetra/converters/picture_size.h"

namespace vidmetra::converters {

// The Y, U and V planes of one frame, each read whole from a numbered file of its own: folder + name + "." +
// the plane's letter. The buffers are allocated once and reused for every frame.
class PlaneFiles {
 public:
  // `upper_case` chooses ".Y", ".U", ".V" over ".y", ".u", ".v".
  explicit PlaneFiles(bool upper_case) : upper_case_(upper_case) {}

  // Empty on success, else the message for the plane whose buffer could not be had.
  std::string Allocate(PictureSize size);
  // Empty on success, else "unable to open u file" (or y, v) followed by the name and extension, or
  // "read file error" when a file holds less than a plane.
  std::string Read(const std::array<std::string, 3>& folders, const std::string& name);

  const std::vector<uint8_t>& Plane(size_t index) const { return planes_[index]; }

 private:
  bool upper_case_;
  std::array<std::vector<uint8_t>, 3> planes_;
};

}  // namespace vidmetra::converters
