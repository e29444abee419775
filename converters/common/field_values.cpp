#include "vidmetra/converters/field_values.h"

#include <cstdlib>

#include "vidmetra/converters/numbered_name.h"

namespace vidmetra::converters {

const std::string& FieldValues::Text(const std::string& key) const {
  static const std::string kEmpty;
  const auto found = values_.find(key);
  return found == values_.end() ? kEmpty : found->second;
}

long long FieldValues::Number(const std::string& key) const {
  // The frames check that a number field holds at most nine digits, so the value always fits.
  return std::strtoll(Text(key).c_str(), nullptr, 10);
}

std::string FieldValues::FrameName(long long number) const {
  return NumberedFileName("", Text("name"), number, SmallNumber("digits"), "");
}

FrameRange FieldValues::Range(long long all_last) const {
  if (Flag("all")) return FrameRange{0, all_last};
  return FrameRange{Number("from"), Number("to")};
}

}  // namespace vidmetra::converters
