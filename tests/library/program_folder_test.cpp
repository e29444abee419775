#include "vidmetra/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/byte_files.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

TEST(ProgramFolder, IsTheRunningProgramsFolderWithSeparator) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(folder + "engine_tests"));
}

TEST(WritableFolder, PrefersTheGivenFolder) {
  testing::TempDir dir;
  const std::string folder = dir.path().string() + "/";
  EXPECT_EQ(WritableFolder(folder), folder);
  // The probe leaves nothing behind.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(WritableFolder, FallsBackToTheUserStateFolder) {
  testing::TempDir dir;
  const std::string blocker = dir.File("plain-file");
  testing::WriteText(blocker, "");
  testing::ScopedEnv state("XDG_STATE_HOME", dir.path().string());
  const std::string fallback = WritableFolder(blocker + "/");
  EXPECT_EQ(fallback, (dir.path() / "Zyr" / "Vidmetra").string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(fallback));
}

}  // namespace
}  // namespace vidmetra
