#pragma once
// File endings and settings names are compared without regard to case, and only ASCII letters have one there.

namespace vidmetra {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace vidmetra
