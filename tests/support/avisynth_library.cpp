#include "support/avisynth_library.h"

#include <cstdlib>
#include <filesystem>

namespace vidmetra::testing {
namespace {

std::filesystem::path CacheFolder() {
  if (const char* cache = std::getenv("VIDMETRA_THIRD_PARTY_CACHE"); cache != nullptr && *cache != '\0') return cache;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && *xdg != '\0') {
    return std::filesystem::path(xdg) / "vidmetra-third-party";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : "") / ".cache" / "vidmetra-third-party";
}

}  // namespace

std::string BuiltAvisynthLibrary() {
  std::error_code error;
  if (const char* named = std::getenv("VIDMETRA_AVISYNTH_LIBRARY"); named != nullptr && *named != '\0') {
    return std::filesystem::is_regular_file(named, error) ? named : "";
  }
  for (const auto& entry : std::filesystem::directory_iterator(CacheFolder(), error)) {
    const std::filesystem::path library = entry.path() / "lib" / "libavisynth.so";
    if (entry.path().filename().string().starts_with("avisynthplus-") &&
        std::filesystem::exists(entry.path() / ".built", error) && std::filesystem::is_regular_file(library, error)) {
      return library.string();
    }
  }
  return "";
}

}  // namespace vidmetra::testing
