#include "support/temp_dir.h"

#include <atomic>
#include <unistd.h>

namespace vidmetra::testing {

TempDir::TempDir() {
  static std::atomic<int> sequence{0};
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("vidmetra-test-" + std::to_string(getpid()) + "-" + std::to_string(sequence++));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vidmetra::testing
