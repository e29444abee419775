#include "vidmetra/user_folders.h"

#include <cstdlib>

namespace vidmetra {
namespace {

std::filesystem::path BaseFolder(const char* variable, const char* below_home) {
  const char* value = std::getenv(variable);
  if (value != nullptr && std::filesystem::path(value).is_absolute()) return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::filesystem::path(home) / below_home;
}

}  // namespace

std::filesystem::path UserConfigFolder() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path UserStateFolder() { return BaseFolder("XDG_STATE_HOME", ".local/state"); }

}  // namespace vidmetra
