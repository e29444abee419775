#include "fuzz_input_file.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace vidmetra::fuzz {
namespace {

std::string scratch_path;

void RemoveScratchFile() { std::remove(scratch_path.c_str()); }

}  // namespace

const std::string& InputFile(const char* ending) {
  if (scratch_path.empty()) {
    const char* directory = std::getenv("TMPDIR");
    std::string pattern = std::string(directory ? directory : "/tmp") + "/vidmetra-fuzz-XXXXXX" + ending;
    const int descriptor = ::mkstemps(pattern.data(), static_cast<int>(std::string(ending).size()));
    if (descriptor < 0) std::abort();
    ::close(descriptor);
    scratch_path = pattern;
    std::atexit(RemoveScratchFile);
  }
  return scratch_path;
}

bool WriteInput(const uint8_t* data, size_t size, const char* ending) {
  std::FILE* file = std::fopen(InputFile(ending).c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace vidmetra::fuzz
