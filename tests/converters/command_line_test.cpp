// The command-line frame: options named after the fields, the message on standard output, exit statuses.
#include "vidmetra/converters/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "packtrim.h"
#include "planepack.h"
#include "support/byte_files.h"
#include "support/command.h"
#include "support/ffmpeg_tool.h"
#include "support/temp_dir.h"

namespace vidmetra::converters {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Invoke(const ToolDescription& tool, const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = RunCommandLine(tool, arguments, out, err);
  return Outcome{status, out.str(), err.str()};
}

TEST(CommandLine, UsageErrorsNameTheOptionAndExitWithTwo) {
  const Outcome missing = Invoke(PackTrimTool(), {"--seq", "a.seq", "--width", "8", "--height", "8", "--from", "0"});
  EXPECT_EQ(missing.status, kExitUsage);
  EXPECT_NE(missing.err.find("missing --to"), std::string::npos) << missing.err;
  EXPECT_TRUE(missing.out.empty());
  EXPECT_EQ(Invoke(PackTrimTool(), {"--seq"}).status, kExitUsage);
  EXPECT_EQ(Invoke(PackTrimTool(), {"--colour", "x"}).status, kExitUsage);
  EXPECT_EQ(Invoke(PackTrimTool(), {"stray"}).status, kExitUsage);
  const Outcome not_a_number = Invoke(PlanePackTool(), {"--width", "-4"});
  EXPECT_EQ(not_a_number.status, kExitUsage);
  EXPECT_NE(not_a_number.err.find("--width takes a number"), std::string::npos);
  EXPECT_EQ(Invoke(PlanePackTool(), {"--digits", "100"}).status, kExitUsage);
}

TEST(CommandLine, HelpListsEveryFieldOption) {
  const Outcome help = Invoke(PlanePackTool(), {"--help"});
  EXPECT_EQ(help.status, kExitOk);
  for (const char* option : {"--dir", "--name", "--from", "--to", "--digits", "--width", "--height", "--seq"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
}

TEST(CommandLine, PrintsTheMessageAndExitsWithZeroOnlyForOk) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("in.seq"), testing::PatternBytes(3 * 96, 1));
  const Outcome ok = Invoke(PackTrimTool(), {"--seq", dir.File("in.seq"), "--width=8", "--height", "8", "--from", "1",
                                             "--to", "1", "--out", dir.File("cut.seq")});
  EXPECT_EQ(ok.status, kExitOk);
  EXPECT_EQ(ok.out, "ok!\n");
  EXPECT_EQ(testing::ReadFileBytes(dir.File("cut.seq")).size(), 96u);
  const Outcome failed = Invoke(PackTrimTool(), {"--seq", dir.File("absent.seq"), "--width", "8", "--height", "8",
                                                 "--from", "0", "--to", "1", "--out", dir.File("cut.seq")});
  EXPECT_EQ(failed.status, kExitFailed);
  EXPECT_EQ(failed.out, "unable to open source seq file.\n");
}

// The installed program, not only its frame: no window opens when arguments are given.
TEST(CommandLine, TheProgramRunsWithoutAWindow) {
  testing::TempDir dir;
  const std::string program = std::string(CONVERTER_BIN_DIR) + "/planepack";
  const testing::CommandResult empty =
      testing::RunCommand("env -u DISPLAY QT_QPA_PLATFORM=xcb " + program + " --dir " + dir.path().string() +
                          "/ --name 'f(*)' --from 5 --to 4 --width 176 --height 144 --seq " + dir.File("empty.seq"));
  EXPECT_EQ(empty.exit_code, 0);
  EXPECT_EQ(empty.output, "ok!\n");
  EXPECT_TRUE(std::filesystem::exists(dir.File("empty.seq")));
  EXPECT_EQ(testing::RunCommand(program + " --dir x 2>/dev/null").exit_code, 2);

  const std::string reel = std::string(CONVERTER_BIN_DIR) + "/packreel";
  testing::WriteBytes(dir.File("in.seq"), testing::PatternBytes(2 * 96, 4));
  const std::string common = " --seq " + dir.File("in.seq") + " --all --width 8 --height 8";
  const testing::CommandResult written = testing::RunCommand(reel + common + " --avi " + dir.File("out.avi"));
  EXPECT_EQ(written.exit_code, 0);
  EXPECT_EQ(written.output, "ok!\n");
  const testing::CommandResult missing = testing::RunCommand(reel + common + " 2>&1");
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.output.find("missing --avi"), std::string::npos) << missing.output;
  const testing::CommandResult failed = testing::RunCommand(reel + common + " --avi " + dir.File("no/out.avi"));
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_EQ(failed.output, "Error when writing file \"" + dir.File("no/out.avi") + "\": Failed to create file!\n");
}

}  // namespace
}  // namespace vidmetra::converters
