#pragma once
#include <cstdint>
#include <string>

namespace vidmetra {

// One input of a run. Only raw YUV files carry a size and a colour mode; zero otherwise.
struct InputFileEntry {
  std::string path;
  int32_t width = 0;
  int32_t height = 0;
  int32_t colour_mode = 0;
  bool operator==(const InputFileEntry&) const = default;
};

}  // namespace vidmetra
