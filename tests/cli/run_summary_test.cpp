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
  EXPECT_EQ(ExitCode(RecordWithStatus(2), false), 0);
  EXPECT_EQ(ExitCode(RecordWithStatus(1), false), 1);
  EXPECT_EQ(ExitCode(RecordWithStatus(0), false), 2);
}

TEST(ExitCode, StoppedRunIsNeverReportedAsComplete) {
  // Files measured alone keep status 2 when stopped; the script must still learn that frames are missing.
  EXPECT_EQ(ExitCode(RecordWithStatus(2), true), 1);
  EXPECT_EQ(ExitCode(RecordWithStatus(1), true), 1);
  EXPECT_EQ(ExitCode(RecordWithStatus(0), true), 2);
}

}  // namespace
}  // namespace vidmetra::cli
