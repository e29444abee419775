#include "fuzz_input_file.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace vidmetra::fuzz {
namespace {

std::string scratch_path;
std::filesystem::path scratch_folder;

void RemoveScratchFile() { std::remove(scratch_path.c_str()); }

void RemoveScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(scratch_folder, ignored);
}

std::string TemporaryFolder() {
  const char* directory = std::getenv("TMPDIR");
  return directory ? directory : "/tmp";
}

}  // namespace

const std::string& InputFile(const char* ending) {
  if (scratch_path.empty()) {
    std::string pattern = TemporaryFolder() + "/vidmetra-fuzz-XXXXXX" + ending;
    const int descriptor = ::mkstemps(pattern.data(), static_cast<int>(std::string(ending).size()));
    if (descriptor < 0) std::abort();
    ::close(descriptor);
    scratch_path = pattern;
    std::atexit(RemoveScratchFile);
  }
  return scratch_path;
}

bool WriteInput(const uint8_t* data, size_t size, const char* ending) {
  return WriteFile(InputFile(ending), data, size);
}

const std::filesystem::path& ScratchFolder() {
  if (scratch_folder.empty()) {
    std::string pattern = TemporaryFolder() + "/vidmetra-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    scratch_folder = pattern;
    std::atexit(RemoveScratchFolder);
  }
  return scratch_folder;
}

bool WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace vidmetra::fuzz
