#include "vidmetra/program_folder.h"

#include <filesystem>
#include <unistd.h>

#include "vidmetra/user_folders.h"

namespace vidmetra {
namespace {

// Creating a file is the only honest test: permission bits say nothing for a privileged user or a read-only mount.
bool CanCreateFiles(const std::string& folder) {
  std::string probe = (folder.empty() ? std::string("./") : folder) + ".vidmetra-probe-XXXXXX";
  const int descriptor = ::mkstemp(probe.data());
  if (descriptor < 0) return false;
  ::close(descriptor);
  ::unlink(probe.c_str());
  return true;
}

std::string WithSeparator(const std::filesystem::path& folder) {
  std::string text = folder.string();
  if (!text.empty() && text.back() != std::filesystem::path::preferred_separator) {
    text += std::filesystem::path::preferred_separator;
  }
  return text;
}

}  // namespace

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return WithSeparator(program.parent_path());
}

std::string WritableFolder(const std::string& preferred) {
  if (CanCreateFiles(preferred)) return preferred;
  const std::filesystem::path base = UserStateFolder();
  if (base.empty()) return preferred;
  const std::filesystem::path folder = base / "Zyr" / "Vidmetra";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return WithSeparator(folder);
}

}  // namespace vidmetra
