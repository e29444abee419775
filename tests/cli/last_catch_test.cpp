#include "last_catch.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/byte_files.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

// What ExitCodeOf writes to its error stream, and the exit code.
std::pair<int, std::string> Guarded(const std::function<int()>& body) {
  testing::TempDir dir;
  std::FILE* errors = std::fopen(dir.File("errors.txt").c_str(), "w");
  const int code = cli::ExitCodeOf(body, errors);
  std::fclose(errors);
  return {code, testing::ReadText(dir.File("errors.txt"))};
}

TEST(LastCatch, AnythingThrownBecomesOneLineAndExitCodeOne) {
  EXPECT_EQ(Guarded([] { return 2; }), std::make_pair(2, std::string()));
  EXPECT_EQ(Guarded([]() -> int { throw std::runtime_error("disk on fire"); }),
            std::make_pair(1, std::string("vidmetra-cli: unexpected error: disk on fire\n")));
  EXPECT_EQ(Guarded([]() -> int { throw 42; }),
            std::make_pair(1, std::string("vidmetra-cli: unexpected error: unknown exception\n")));
}

}  // namespace
}  // namespace vidmetra
