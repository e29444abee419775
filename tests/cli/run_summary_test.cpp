#include "run_summary.h"

#include <gtest/gtest.h>

namespace vidmetra::cli {
namespace {

RunRecord RecordWithStatus(int32_t measurement) {
  RunRecord record;
  record.store = std::make_unique<ResultStore>();
  record.status = {measurement, measurement};
  return record;
}

TEST(ExitCode, FollowsTheMeasurementStatus) {
  EXPECT_EQ(ExitCode(RecordWithStatus(2), false, false), 0);
  EXPECT_EQ(ExitCode(RecordWithStatus(1), false, false), 1);
  EXPECT_EQ(ExitCode(RecordWithStatus(0), false, false), 2);
}

TEST(ExitCode, StoppedRunIsNeverReportedAsComplete) {
  // Files measured alone keep status 2 when stopped; the script must still learn that frames are missing.
  EXPECT_EQ(ExitCode(RecordWithStatus(2), true, false), 1);
  EXPECT_EQ(ExitCode(RecordWithStatus(1), true, false), 1);
  EXPECT_EQ(ExitCode(RecordWithStatus(0), true, false), 2);
}

TEST(ExitCode, CsvFileThatWasAskedForButNotWrittenIsAFailure) {
  RunRecord record = RecordWithStatus(2);
  EXPECT_EQ(ExitCode(record, false, true), 1);
  record.csv_path = "out/psnr_yyuv_a_b.csv";
  EXPECT_EQ(ExitCode(record, false, true), 0);
  EXPECT_EQ(ExitCode(RecordWithStatus(0), false, true), 2);  // nothing measured: no CSV file is due
}

TEST(ExitCode, LogFileThatLostLinesIsAFailure) {
  RunRecord record = RecordWithStatus(2);
  record.log_failed = true;
  EXPECT_EQ(ExitCode(record, false, false), 1);
  record.status.measurement = 0;
  EXPECT_EQ(ExitCode(record, false, false), 2);
}

}  // namespace
}  // namespace vidmetra::cli
