#pragma once
// Text inside the program is UTF-8; plug-ins, the run log file and Unicode CSV files speak UTF-16.
#include <string>
#include <string_view>

namespace vidmetra {

std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// UTF-16 little-endian bytes, no byte-order mark.
std::string Utf16LeBytes(std::string_view utf8);

}  // namespace vidmetra
