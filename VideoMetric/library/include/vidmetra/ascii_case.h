#pragma once
// File endings and settings names are compared without regard to case, and only ASCII letters have one there.

#include <string>
#include <string_view>

namespace vidmetra {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string ToUpperAscii(std::string_view text) {
  std::string raised(text);
  for (char& c : raised) c = UpperAscii(c);
  return raised;
}

inline std::string ToLowerAscii(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = LowerAscii(c);
  return lowered;
}

}  // namespace vidmetra
