#pragma once
// Composition of the texts that readers and writers hand to the log and to message boxes.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vidmetra {

// Text buffers of the program hold this many UTF-16 characters, terminator included.
inline constexpr size_t kTextCapacity = 260;

struct StatusMessage {
  int code;
  const char* text;
};

// Cuts UTF-8 text so that it fits `capacity` UTF-16 characters with its terminator; empty for capacity < 1.
std::string CutToCapacity(std::string_view text, size_t capacity);

// The reason for `code` from a class's table, or "Unrecognized error!".
const char* StatusReason(std::span<const StatusMessage> table, int code);

// "Error when reading file "<name>": " (nothing when there is no name) followed by the reason, cut to capacity.
std::string ReadErrorText(std::string_view file_name, std::string_view reason, size_t capacity);
std::string WriteErrorText(std::string_view file_name, std::string_view reason, size_t capacity);

}  // namespace vidmetra
