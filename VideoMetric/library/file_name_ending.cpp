#include "vidmetra/file_name_ending.h"

#include <algorithm>

#include "vidmetra/ascii_case.h"

namespace vidmetra {

bool HasEnding(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  const std::string_view tail = name.substr(name.size() - ending.size());
  return std::equal(tail.begin(), tail.end(), ending.begin(), ending.end(),
                    [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

}  // namespace vidmetra
