#include "vidmetra/status_text.h"

namespace vidmetra {
namespace {

std::string ErrorText(std::string_view verb, std::string_view file_name, std::string_view reason, size_t capacity) {
  std::string text;
  if (!file_name.empty()) {
    text.append("Error when ").append(verb).append(" file \"").append(file_name).append("\": ");
  }
  text.append(reason);
  return CutToCapacity(text, capacity);
}

}  // namespace

std::string CutToCapacity(std::string_view text, size_t capacity) {
  if (capacity < 1) return {};
  size_t units = 0;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const size_t needed = length == 4 ? 2 : 1;  // characters outside the BMP take a surrogate pair
    if (units + needed > capacity - 1 || i + length > text.size()) break;
    units += needed;
    i += length;
  }
  return std::string(text.substr(0, i));
}

const char* StatusReason(std::span<const StatusMessage> table, int code) {
  for (const StatusMessage& message : table) {
    if (message.code == code) return message.text;
  }
  return "Unrecognized error!";
}

std::string ReadErrorText(std::string_view file_name, std::string_view reason, size_t capacity) {
  return ErrorText("reading", file_name, reason, capacity);
}

std::string WriteErrorText(std::string_view file_name, std::string_view reason, size_t capacity) {
  return ErrorText("writing", file_name, reason, capacity);
}

}  // namespace vidmetra
