#include "vidmetra/converters/numbered_name.h"

#include <string_view>

namespace vidmetra::converters {

std::string FrameNumberText(long long number, int digits) {
  if (digits <= 0) return std::to_string(number);
  std::string text = std::to_string(number);
  if (text.size() < static_cast<size_t>(digits)) text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
  return text;
}

std::string NumberedFileName(const std::string& folder, const std::string& pattern, long long number, int digits,
                             const std::string& extension) {
  static constexpr std::string_view kPlaceholder = "(*)";
  const std::string number_text = FrameNumberText(number, digits);
  std::string name;
  size_t start = 0;
  for (size_t found = pattern.find(kPlaceholder); found != std::string::npos;
       found = pattern.find(kPlaceholder, start)) {
    name.append(pattern, start, found - start).append(number_text);
    start = found + kPlaceholder.size();
  }
  name.append(pattern, start);
  return folder + name + extension;
}

}  // namespace vidmetra::converters
