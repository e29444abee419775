#include "vidmetra/registry_key.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

#include "vidmetra/ascii_case.h"
#include "vidmetra/registry_text.h"
#include "vidmetra/status_text.h"

namespace vidmetra {
namespace {

// A key of 27 short values is a few kilobytes; anything read beyond this is not a settings key.
constexpr size_t kMaxKeyBytes = size_t{1} << 20;

// The whole key text, or nothing when the file cannot be read. Of an oversized file only its complete lines
// within the limit are kept.
std::optional<std::string> ReadKeyText(const std::filesystem::path& location) {
  std::ifstream file(location, std::ios::binary);
  if (!file.is_open()) return std::nullopt;
  // Read in pieces: a key is small, and a megabyte zeroed for every read made loading the settings slow.
  std::string text;
  std::array<char, 16384> piece;
  while (text.size() <= kMaxKeyBytes && file) {
    file.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    text.append(piece.data(), static_cast<size_t>(file.gcount()));
  }
  if (file.bad()) return std::nullopt;
  if (text.size() > kMaxKeyBytes) {
    const size_t last_line_end = text.rfind('\n', kMaxKeyBytes - 1);
    text.resize(last_line_end == std::string::npos ? 0 : last_line_end + 1);
  }
  return text;
}

bool WriteAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Makes a completed rename survive a crash of the machine, not only of the program.
void SyncFolder(const std::filesystem::path& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

bool EnsureParentFolder(const std::filesystem::path& location) {
  const std::filesystem::path parent = location.parent_path();
  std::error_code error;
  if (parent.empty() || std::filesystem::is_directory(parent, error)) return true;
  return std::filesystem::create_directories(parent, error);
}

}  // namespace

bool NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
}

bool RegistryKey::Open(const std::filesystem::path& location) {
  location_ = location;
  values_.clear();
  if (location.empty()) return false;
  std::error_code error;
  if (!std::filesystem::exists(location, error)) return !error && EnsureParentFolder(location);
  if (std::filesystem::is_directory(location, error)) return false;
  std::optional<std::string> text = ReadKeyText(location);
  if (!text) return false;
  values_ = ParseRegistryText(*text);
  return true;
}

bool RegistryKey::Save() const {
  if (location_.empty() || !EnsureParentFolder(location_)) return false;
  std::string temporary = location_.string() + ".XXXXXX";
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) return false;
  const bool written = WriteAll(descriptor, FormatRegistryText(values_)) && ::fsync(descriptor) == 0;
  const bool closed = ::close(descriptor) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), location_.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(location_.parent_path().empty() ? std::filesystem::path(".") : location_.parent_path());
  return true;
}

const RegistryValue* RegistryKey::Find(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? nullptr : &found->second;
}

std::optional<uint32_t> RegistryKey::Dword(std::string_view name) const {
  const RegistryValue* value = Find(name);
  if (value == nullptr || value->type != RegistryValue::Type::kDword) return std::nullopt;
  return value->dword;
}

std::optional<std::string> RegistryKey::Text(std::string_view name, size_t capacity) const {
  const RegistryValue* value = Find(name);
  if (value == nullptr || value->type == RegistryValue::Type::kDword || capacity < 1) return std::nullopt;
  if (value->type == RegistryValue::Type::kSz) {
    const std::string& text = value->texts.front();
    if (CutToCapacity(text, capacity) != text) return std::nullopt;
    return text;
  }
  // Multi-string data is every string with its terminator plus a closing one; joined by one-character
  // separators the strings take two characters fewer than that.
  std::string joined;
  for (size_t i = 0; i < value->texts.size(); ++i) joined.append(i > 0 ? "\n" : "").append(value->texts[i]);
  if (capacity < 2 || CutToCapacity(joined, capacity - 1) != joined) return std::nullopt;
  return value->texts.empty() ? std::string() : value->texts.front();
}

void RegistryKey::SetDword(std::string_view name, uint32_t value) {
  values_.insert_or_assign(std::string(name), RegistryValue{RegistryValue::Type::kDword, value, {}});
}

void RegistryKey::SetText(std::string_view name, std::string_view value) {
  const std::string_view text = value.substr(0, value.find('\0'));
  values_.insert_or_assign(std::string(name), RegistryValue{RegistryValue::Type::kSz, 0, {std::string(text)}});
}

}  // namespace vidmetra
