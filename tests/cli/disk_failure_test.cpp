// Output the disk refuses: the CSV file and the run log written to a full device, into a folder that cannot be
// written, and onto a path a folder already takes. Every such run still measures and prints its values, says which
// output failed and where, and exits with 1, never with success.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli_fixture.h"

namespace vidmetra {
namespace {

struct RefusingPlace {
  std::string what;
  std::string folder;
  std::string name;
  std::string Path() const { return folder + "/" + name; }
};

class DiskFailureTest : public CliTest {
 protected:
  std::vector<RefusingPlace> RefusingPlaces() {
    std::filesystem::create_directory(dir.path() / "taken");
    return {{"full device", "/dev", "full"},
            {"unwritable folder", UnwritableFolder(), "out.txt"},
            {"path taken by a folder", dir.path().string(), "taken"}};
  }

  // The permission bits do not hold the administrator back, so as root the folder is one of the kernel's, where
  // no file can be created.
  std::string UnwritableFolder() {
    if (::geteuid() == 0) return "/proc";
    const std::filesystem::path folder = dir.path() / "read-only";
    std::filesystem::create_directory(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    return folder.string();
  }

  std::string Run(const std::string& options) {
    return options + " --size 16x16 --metric mse " + In("orig.yuv") + " " + In("enc.yuv");
  }
};

constexpr char kMeanMse[] = "\"average\":1.66666663";  // luma frames differ by 2, 0 and 1

TEST_F(DiskFailureTest, CsvFileThatCannotBeWrittenIsReportedAndTheValuesAreStillPrinted) {
  for (const RefusingPlace& place : RefusingPlaces()) {
    SCOPED_TRACE(place.what);
    const auto run = Cli(Run("--json --csv " + place.folder + " --csv-name " + place.name));
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(Errors().find("Failed to save CSV to \"" + place.Path() + "\""), std::string::npos) << Errors();
    EXPECT_NE(run.output.find(kMeanMse), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"files_written\":[]"), std::string::npos) << run.output;
  }
}

TEST_F(DiskFailureTest, LogThatCannotBeWrittenIsReportedAndEveryLineStillShown) {
  for (const RefusingPlace& place : RefusingPlaces()) {
    SCOPED_TRACE(place.what);
    const auto run = Cli(Run("--json --log " + place.Path()));
    EXPECT_EQ(run.exit_code, 1);
    const std::string errors = Errors();
    EXPECT_NE(errors.find("Failed to write the log to \"" + place.Path() + "\""), std::string::npos) << errors;
    EXPECT_NE(errors.find("Done!"), std::string::npos) << errors;
    EXPECT_NE(run.output.find(kMeanMse), std::string::npos) << run.output;
  }
}

TEST_F(DiskFailureTest, QuietRunStillSaysThatAnOutputWasLost) {
  const auto run = Cli(Run("-q --log /dev/full"));
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(Errors().find("not everything was measured or saved"), std::string::npos) << Errors();
  EXPECT_NE(run.output.find("MSE_YYUV orig.yuv enc.yuv: average 1.66667"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace vidmetra
