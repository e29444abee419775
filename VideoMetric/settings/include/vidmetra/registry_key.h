#pragma once
// The program's settings key: named values of three kinds kept apart, so that a value of an unexpected kind is
// recognised as such. Stored as a human-readable text file that is replaced as a whole on every save.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vidmetra {

struct RegistryValue {
  enum class Type { kDword, kSz, kMultiSz };
  Type type = Type::kDword;
  uint32_t dword = 0;
  std::vector<std::string> texts;  // exactly one for kSz, any number for kMultiSz
  bool operator==(const RegistryValue&) const = default;
};

// Value names compare without regard to ASCII case, as registry names do.
struct NameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

using RegistryValues = std::map<std::string, RegistryValue, NameLess>;

class RegistryKey {
 public:
  // Reads the key stored at `location`. A missing key starts empty, with the folders leading to it created.
  // False when the key can be neither read nor created.
  bool Open(const std::filesystem::path& location);
  // Writes a temporary file beside the key and renames it over the key, so that an interrupted save leaves the
  // previous key whole.
  bool Save() const;

  std::optional<uint32_t> Dword(std::string_view name) const;
  // A text value, or the first string of a multi-string value, when its data with terminators fits `capacity`
  // characters.
  std::optional<std::string> Text(std::string_view name, size_t capacity) const;
  void SetDword(std::string_view name, uint32_t value);
  // Like the registry, a text ends at its first zero character.
  void SetText(std::string_view name, std::string_view value);

  const RegistryValues& values() const { return values_; }

 private:
  const RegistryValue* Find(std::string_view name) const;

  std::filesystem::path location_;
  RegistryValues values_;
};

}  // namespace vidmetra
