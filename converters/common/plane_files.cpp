#include "vidmetra/converters/plane_files.h"

#include "vidmetra/converters/c_file.h"
#include "vidmetra/converters/tool_messages.h"

namespace vidmetra::converters {
namespace {

constexpr std::array<char, 3> kLetters{'y', 'u', 'v'};

}  // namespace

std::string PlaneFiles::Allocate(PictureSize size) {
  for (size_t k = 0; k < planes_.size(); ++k) {
    if (!ResizeBuffer(planes_[k], k == 0 ? size.Pixels() : size.ChromaPlaneBytes())) {
      return std::string("Couldn't allocate memory to ") + kLetters[k] + "\n";
    }
  }
  return {};
}

std::string PlaneFiles::Read(const std::array<std::string, 3>& folders, const std::string& name) {
  for (size_t k = 0; k < planes_.size(); ++k) {
    const char extension = upper_case_ ? static_cast<char>(kLetters[k] - 'a' + 'A') : kLetters[k];
    const std::string file_name = name + "." + extension;
    CFile file;
    if (!file.Open(folders[k] + file_name, "rb"))
      return std::string("unable to open ") + kLetters[k] + " file" + file_name;
    if (!file.ReadAll(planes_[k].data(), planes_[k].size())) return "read file error";
  }
  return {};
}

}  // namespace vidmetra::converters
