#include "vidmetra/registry_text.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace vidmetra {
namespace {

constexpr std::string_view kDwordTag = "dword:";
constexpr std::string_view kSzTag = "sz:";
constexpr std::string_view kMultiSzTag = "multi_sz:";
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kHexDigits = "0123456789abcdef";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool ConsumePrefix(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendValue(std::string& out, const RegistryValue& value) {
  switch (value.type) {
    case RegistryValue::Type::kDword:
      out.append(kDwordTag).append(std::to_string(value.dword));
      return;
    case RegistryValue::Type::kSz:
      out.append(kSzTag);
      AppendQuoted(out, value.texts.empty() ? std::string_view{} : value.texts.front());
      return;
    case RegistryValue::Type::kMultiSz:
      out.append(kMultiSzTag);
      for (size_t i = 0; i < value.texts.size(); ++i) {
        if (i > 0) out += ',';
        AppendQuoted(out, value.texts[i]);
      }
      return;
  }
}

std::optional<uint32_t> ParseDword(std::string_view text) {
  const char* end = text.data() + text.size();
  if (text.starts_with('-')) {
    int32_t signed_value = 0;
    const auto [at, error] = std::from_chars(text.data(), end, signed_value);
    if (error != std::errc() || at != end) return std::nullopt;
    return static_cast<uint32_t>(signed_value);
  }
  uint32_t value = 0;
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end) return std::nullopt;
  return value;
}

std::optional<char> ParseEscape(std::string_view& text) {
  if (text.empty()) return std::nullopt;
  const char c = text.front();
  text.remove_prefix(1);
  switch (c) {
    case '\\': case '"': return c;
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'x': {
      uint8_t byte = 0;
      if (text.size() < 2) return std::nullopt;
      const auto [at, error] = std::from_chars(text.data(), text.data() + 2, byte, 16);
      // A zero would end the text inside the registry, so it cannot be part of one.
      if (error != std::errc() || at != text.data() + 2 || byte == 0) return std::nullopt;
      text.remove_prefix(2);
      return static_cast<char>(byte);
    }
    default:
      return std::nullopt;
  }
}

// One quoted text from the front of `text`, which is advanced past it.
std::optional<std::string> ParseQuoted(std::string_view& text) {
  if (!ConsumePrefix(text, "\"")) return std::nullopt;
  std::string result;
  while (!text.empty()) {
    const char c = text.front();
    text.remove_prefix(1);
    if (c == '"') return result;
    if (c != '\\') {
      result += c;
      continue;
    }
    const std::optional<char> escaped = ParseEscape(text);
    if (!escaped) return std::nullopt;
    result += *escaped;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> ParseQuotedList(std::string_view text) {
  std::vector<std::string> texts;
  text = Trim(text);
  while (!text.empty()) {
    if (!texts.empty() && !ConsumePrefix(text, ",")) return std::nullopt;
    text = Trim(text);
    std::optional<std::string> item = ParseQuoted(text);
    if (!item) return std::nullopt;
    texts.push_back(std::move(*item));
    text = Trim(text);
  }
  return texts;
}

std::optional<RegistryValue> ParseValue(std::string_view data) {
  RegistryValue value;
  if (ConsumePrefix(data, kDwordTag)) {
    const std::optional<uint32_t> number = ParseDword(Trim(data));
    if (!number) return std::nullopt;
    value.dword = *number;
    return value;
  }
  const bool multi = ConsumePrefix(data, kMultiSzTag);
  if (!multi && !ConsumePrefix(data, kSzTag)) return std::nullopt;
  std::optional<std::vector<std::string>> texts = ParseQuotedList(data);
  if (!texts || (!multi && texts->size() != 1)) return std::nullopt;
  value.type = multi ? RegistryValue::Type::kMultiSz : RegistryValue::Type::kSz;
  value.texts = std::move(*texts);
  return value;
}

void ParseLine(std::string_view line, RegistryValues& values) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  if (line.find('\0') != std::string_view::npos) return;
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view name = Trim(line.substr(0, equals));
  if (name.empty() || name.front() == '#' || name.front() == ';') return;
  std::optional<RegistryValue> value = ParseValue(Trim(line.substr(equals + 1)));
  if (value) values.insert_or_assign(std::string(name), std::move(*value));
}

}  // namespace

std::string FormatRegistryText(const RegistryValues& values) {
  std::string out = "# Vidmetra settings: name=dword:number, name=sz:\"text\" or name=multi_sz:\"text\",...\n";
  for (const auto& [name, value] : values) {
    out.append(name).append("=");
    AppendValue(out, value);
    out += '\n';
  }
  return out;
}

RegistryValues ParseRegistryText(std::string_view text) {
  ConsumePrefix(text, "\xEF\xBB\xBF");
  RegistryValues values;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    ParseLine(text.substr(0, end), values);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return values;
}

}  // namespace vidmetra
