#include "vidmetra/measurement_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/driver_fakes.h"
#include "vidmetra/task_pool.h"

namespace vidmetra {
namespace {

using ::testing::ElementsAre;
using testing::CountingGate;
using testing::DriverHarness;
using testing::FakeClip;

FakeClip Clip(std::vector<uint8_t> levels, int width = 16, int height = 16) {
  FakeClip clip;
  clip.width = width;
  clip.height = height;
  clip.levels = std::move(levels);
  return clip;
}

std::vector<float> StoredValues(const ResultStore& store, int32_t id) {
  std::vector<float> values;
  for (const FrameValue& value : store.Values(id)) values.push_back(value.value);
  return values;
}

class ReferenceModeTest : public ::testing::Test {
 protected:
  DriverHarness h;
};

TEST_F(ReferenceModeTest, MeasuresEveryPairAndLogsEachStep) {
  h.AddFile("orig.yuv", Clip({10, 20, 30}));
  h.AddFile("enc.yuv", Clip({12, 20, 25}));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  EXPECT_THAT(h.log.lines,
              ElementsAre("Opening \"orig.yuv\"", "Opened file \"orig.yuv\" fake 16x16", "Opening \"enc.yuv\"",
                          "Opened file \"enc.yuv\" fake 16x16", "Loaded Fake", "Saving average result", "Done!"));
  const std::vector<int32_t> ids = h.store.SeriesIds();
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_THAT(StoredValues(h.store, ids[0]), ElementsAre(2.0f, 0.0f, 5.0f));
  EXPECT_FLOAT_EQ(*h.store.Average(ids[0]), 7.0f / 3.0f);
  const SeriesInfo* info = h.store.Series(ids[0]);
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(info->files.size(), 2u);
  EXPECT_EQ(info->files[0].path, "orig.yuv");
  EXPECT_EQ(info->files[1].path, "enc.yuv");
  EXPECT_THAT(h.progress.calls,
              ElementsAre("begin orig.yuv enc.yuv", "min 0", "max 3", "pos 0", "pos 1", "pos 2", "finish"));
  ASSERT_EQ(h.metrics.created.size(), 1u);
  EXPECT_EQ(h.metrics.created[0].width, 16);
}

TEST_F(ReferenceModeTest, TooFewFilesOrUnopenableOriginalEndTheRun) {
  h.AddFile("orig.yuv", Clip({1}));
  EXPECT_FALSE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{0, 0}));
  EXPECT_THAT(h.log.lines, ElementsAre("Too few files for measurement! Measurement aborted"));

  DriverHarness missing;
  missing.request.files = {{"gone.yuv", 0, 0, 0}, {"also.yuv", 0, 0, 0}};
  EXPECT_FALSE(missing.Run());
  EXPECT_EQ(missing.status, (RunStatus{0, 0}));
  EXPECT_THAT(missing.log.lines,
              ElementsAre("Opening \"gone.yuv\"", "Failed to open original sequence! Measurement aborted"));
}

TEST_F(ReferenceModeTest, MismatchedProcessedFileIsSkippedAndTheNextMeasured) {
  h.AddFile("orig.yuv", Clip({10, 10}));
  h.AddFile("tall.yuv", Clip({10, 10}, 16, 32));
  h.AddFile("gone.yuv", Clip({}));
  h.opener.clips.erase("gone.yuv");
  h.AddFile("good.yuv", Clip({11, 13}));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status.measurement, 1);
  EXPECT_TRUE(h.log.Contains("File has height that differ from the original one, measurement skipped"));
  EXPECT_TRUE(h.log.Contains("Failed to open \"gone.yuv\""));
  ASSERT_EQ(h.store.SeriesIds().size(), 1u);
  EXPECT_THAT(StoredValues(h.store, h.store.SeriesIds()[0]), ElementsAre(1.0f, 3.0f));
}

TEST_F(ReferenceModeTest, ShorterProcessedFileMeasuresTheCommonFrames) {
  h.AddFile("orig.yuv", Clip({1, 2, 3, 4, 5}));
  h.AddFile("enc.yuv", Clip({1, 2}));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  EXPECT_EQ(h.store.Values(h.store.SeriesIds()[0]).size(), 2u);
}

TEST_F(ReferenceModeTest, ReadFailureKeepsEarlierValuesAndStillStoresAverages) {
  h.AddFile("orig.yuv", Clip(std::vector<uint8_t>(8, 50)));
  FakeClip broken = Clip(std::vector<uint8_t>(8, 52));
  broken.fail_at = 5;
  h.AddFile("enc.yuv", broken);
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status.measurement, 1);
  EXPECT_TRUE(h.log.Contains("Failed to read frame from sequence; measurement skipped"));
  const int32_t id = h.store.SeriesIds()[0];
  EXPECT_EQ(h.store.Values(id).size(), 5u);
  EXPECT_FLOAT_EQ(*h.store.Average(id), 2.0f);
}

TEST_F(ReferenceModeTest, ConversionFailureEndsTheFile) {
  h.AddFile("orig.yuv", Clip({1, 2, 77, 4}));
  h.AddFile("enc.yuv", Clip({1, 2, 3, 4}));
  h.preparer.fail_on_level = 77;
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status.measurement, 1);
  EXPECT_TRUE(h.log.Contains("Error during color conversion; measurement skipped"));
  EXPECT_EQ(h.store.Values(h.store.SeriesIds()[0]).size(), 2u);
}

TEST_F(ReferenceModeTest, OriginalSizeNotAMultipleAbortsWithoutDone) {
  h.metrics.behaviour.width_multiple = 8;
  h.AddFile("orig.yuv", Clip({1}, 20, 16));
  h.AddFile("enc.yuv", Clip({1}, 20, 16));
  EXPECT_FALSE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{0, 0}));
  EXPECT_TRUE(h.log.Contains("File width is not suitable for metric, it must be multiple of 8, measurement aborted"));
  EXPECT_FALSE(h.log.Contains("Done!"));
  EXPECT_TRUE(std::find(h.progress.calls.begin(), h.progress.calls.end(), "finish") == h.progress.calls.end());
}

TEST_F(ReferenceModeTest, MultipleBelowOneConstrainsNothing) {
  h.metrics.behaviour.width_multiple = 0;
  h.metrics.behaviour.height_multiple = -3;
  h.AddFile("orig.yuv", Clip({1}, 17, 16));
  h.AddFile("enc.yuv", Clip({1}, 17, 16));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
}

TEST_F(ReferenceModeTest, RolesBuildTheSeriesFilesAndAnUnknownRoleAborts) {
  h.metrics.behaviour.roles = {{0, 1}, {1}, {0}};
  h.AddFile("orig.yuv", Clip({1}));
  h.AddFile("enc.yuv", Clip({2}));
  EXPECT_TRUE(h.Run());
  const std::vector<int32_t> ids = h.store.SeriesIds();
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(h.store.Series(ids[1])->files.size(), 1u);
  EXPECT_EQ(h.store.Series(ids[1])->files[0].path, "enc.yuv");
  EXPECT_EQ(h.store.Series(ids[2])->files[0].path, "orig.yuv");
  EXPECT_EQ(h.store.Series(ids[1])->name, "series 1");

  DriverHarness bad;
  bad.metrics.behaviour.roles = {{0, 1}, {2}};
  bad.AddFile("orig.yuv", Clip({1}));
  bad.AddFile("enc.yuv", Clip({2}));
  EXPECT_FALSE(bad.Run());
  EXPECT_EQ(bad.status.measurement, 1);
  EXPECT_TRUE(bad.log.Contains("Metric returned invalid information; measurements aborted"));
  EXPECT_EQ(bad.store.SeriesIds().size(), 1u);  // the series added before the bad one stays
}

TEST_F(ReferenceModeTest, StopEndsTheRunAfterTheCurrentFilesAverages) {
  CountingGate gate(1);
  h.request.gate = &gate;
  h.AddFile("orig.yuv", Clip({1, 2, 3}));
  h.AddFile("a.yuv", Clip({1, 2, 3}));
  h.AddFile("b.yuv", Clip({1, 2, 3}));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status.measurement, 1);
  EXPECT_TRUE(h.log.Contains("Measurement interrupted"));
  EXPECT_FALSE(h.log.Contains("Opening \"b.yuv\""));
  EXPECT_TRUE(h.log.Contains("Done!"));
  EXPECT_EQ(h.store.Values(h.store.SeriesIds()[0]).size(), 2u);
  EXPECT_TRUE(h.store.Average(h.store.SeriesIds()[0]).has_value());
}

TEST_F(ReferenceModeTest, ConfigurationIsAppliedOnlyToConfigurableMetrics) {
  h.request.configuration = "level=3";
  h.AddFile("orig.yuv", Clip({1}));
  h.AddFile("enc.yuv", Clip({1}));
  h.Run();
  for (const std::string& line : h.log.lines) EXPECT_EQ(line.find("onfigur"), std::string::npos) << line;

  DriverHarness accepted;
  accepted.metrics.behaviour.configurable = true;
  accepted.metrics.behaviour.accepted_configuration = "level=3";
  accepted.request.configuration = "level=3";
  accepted.AddFile("orig.yuv", Clip({1}));
  accepted.AddFile("enc.yuv", Clip({1}));
  accepted.Run();
  EXPECT_TRUE(accepted.log.Contains("Configured metric with string level=3"));

  DriverHarness refused;
  refused.metrics.behaviour.configurable = true;
  refused.request.configuration = "bogus";
  refused.AddFile("orig.yuv", Clip({1}));
  refused.AddFile("enc.yuv", Clip({1}));
  EXPECT_TRUE(refused.Run());
  EXPECT_EQ(refused.status.measurement, 1);
  EXPECT_TRUE(refused.log.Contains("Failed to configurate Fake"));
  EXPECT_TRUE(refused.log.Contains("Settings string: bogus"));
  EXPECT_TRUE(refused.store.SeriesIds().empty());
}

TEST_F(ReferenceModeTest, MetricCreationFailureAndEmptyDescriptionSkipTheFile) {
  h.metrics.fail_creation = true;
  h.AddFile("orig.yuv", Clip({1}));
  h.AddFile("enc.yuv", Clip({1}));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status.measurement, 1);
  EXPECT_TRUE(h.log.Contains("Failed to load Fake"));

  DriverHarness empty;
  empty.metrics.behaviour.empty_description = true;
  empty.AddFile("orig.yuv", Clip({1}));
  empty.AddFile("enc.yuv", Clip({1}));
  EXPECT_TRUE(empty.Run());
  EXPECT_EQ(empty.status.measurement, 1);
  EXPECT_TRUE(empty.log.Contains("Metric returned invalid information; measurements skipped"));
}

TEST_F(ReferenceModeTest, VisualizationWritesEveryFrameOrFailsAlone) {
  h.request.visualization.enabled = true;
  h.AddFile("orig.yuv", Clip({1, 2}, 32, 16));
  h.AddFile("enc.yuv", Clip({3, 2}, 32, 16));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  EXPECT_TRUE(h.log.Contains("Saving visualization to \"vis.avi\""));
  EXPECT_THAT(h.visualization.frames_written, ElementsAre(0, 1));
  EXPECT_EQ(h.visualization.ids_given, h.store.SeriesIds());
  EXPECT_EQ(h.request.visualization.width, 32);
  EXPECT_EQ(h.request.visualization.height, 16);

  DriverHarness failing;
  failing.request.visualization.enabled = true;
  failing.visualization.open_succeeds = false;
  failing.AddFile("orig.yuv", Clip({1, 2}));
  failing.AddFile("enc.yuv", Clip({3, 2}));
  EXPECT_TRUE(failing.Run());
  EXPECT_EQ(failing.status, (RunStatus{2, 1}));
  EXPECT_TRUE(failing.log.Contains("Failed to create visualization file; visualization skipped"));
  EXPECT_EQ(failing.store.Values(failing.store.SeriesIds()[0]).size(), 2u);
}

class SingleFileModeTest : public ::testing::Test {
 protected:
  SingleFileModeTest() { h.metrics.behaviour.inputs = 1; }
  DriverHarness h;
};

TEST_F(SingleFileModeTest, MeasuresEachFileAloneWithItsOwnSeries) {
  h.AddFile("a.yuv", Clip({4, 6}));
  h.AddFile("b.yuv", Clip({8}, 32, 32));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  const std::vector<int32_t> ids = h.store.SeriesIds();
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_THAT(StoredValues(h.store, ids[0]), ElementsAre(4.0f, 6.0f));
  EXPECT_THAT(StoredValues(h.store, ids[1]), ElementsAre(8.0f));
  EXPECT_EQ(h.store.Series(ids[1])->files[0].path, "b.yuv");
  EXPECT_EQ(h.metrics.created[1].width, 32);
  EXPECT_EQ(std::count(h.log.lines.begin(), h.log.lines.end(), "Saving average results"), 2);
}

TEST_F(SingleFileModeTest, NoFilesAndUnopenableFiles) {
  EXPECT_FALSE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{0, 0}));
  EXPECT_THAT(h.log.lines, ElementsAre("No files for measurement!"));

  DriverHarness missing;
  missing.metrics.behaviour.inputs = 1;
  missing.request.files = {{"raw.yuv", 352, 0, 5}};
  EXPECT_TRUE(missing.Run());
  EXPECT_EQ(missing.status.measurement, 1);
  EXPECT_TRUE(missing.log.Contains("Failed to open file \"raw.yuv\""));

  // What the reader knows goes to the log just before the driver's own line.
  DriverHarness script;
  script.metrics.behaviour.inputs = 1;
  script.request.files = {{"clip.avs", 0, 0, 0}};
  script.opener.failure = "Error when reading file \"clip.avs\": Failed to open file! (AviSynth+: line 2)";
  EXPECT_TRUE(script.Run());
  EXPECT_THAT(script.log.lines, ::testing::Contains("Opening \"clip.avs\""));
  const auto failure = std::find(script.log.lines.begin(), script.log.lines.end(), script.opener.failure);
  ASSERT_NE(failure, script.log.lines.end());
  ASSERT_NE(failure + 1, script.log.lines.end());
  EXPECT_EQ(*(failure + 1), "Failed to open file \"clip.avs\"");
}

TEST_F(SingleFileModeTest, SizeNotAMultipleSkipsOnlyThatFile) {
  h.metrics.behaviour.height_multiple = 8;
  h.AddFile("odd.yuv", Clip({1}, 16, 12));
  h.AddFile("fine.yuv", Clip({1}, 16, 16));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status.measurement, 1);
  EXPECT_TRUE(h.log.Contains("File height is not suitable for metric, it must be multiple of 8, measurement skipped"));
  EXPECT_EQ(h.store.SeriesIds().size(), 1u);
  EXPECT_TRUE(h.log.Contains("Done!"));
}

TEST_F(SingleFileModeTest, StopInterruptsEachFileButKeepsTheStatus) {
  CountingGate gate(0);
  h.request.gate = &gate;
  h.AddFile("a.yuv", Clip({1, 2, 3}));
  h.AddFile("b.yuv", Clip({1, 2, 3}));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  EXPECT_EQ(std::count(h.log.lines.begin(), h.log.lines.end(), "Measurement interrupted"), 2);
  for (const int32_t id : h.store.SeriesIds()) {
    EXPECT_EQ(h.store.Values(id).size(), 1u);
    EXPECT_TRUE(h.store.Average(id).has_value());
  }
}

TEST_F(SingleFileModeTest, FailedVisualizationNamesItsPath) {
  h.request.visualization.enabled = true;
  h.visualization.open_succeeds = false;
  h.AddFile("a.yuv", Clip({1}));
  EXPECT_TRUE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{2, 1}));
  EXPECT_TRUE(h.log.Contains("Failed to open visualization file \"vis.avi\""));
}

TEST_F(SingleFileModeTest, VisualizationThatCannotBeFinishedIsAFailureNotAFileWritten) {
  std::vector<std::string> written;
  h.request.visualization.enabled = true;
  h.AddFile("a.yuv", Clip({1, 2}));
  h.AddFile("b.yuv", Clip({1}));
  DriverServices services = h.services();
  services.files_written = &written;
  h.visualization.close_succeeds = true;
  ASSERT_TRUE(RunMeasurement(h.request, h.store, h.status, services));
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  EXPECT_THAT(written, ElementsAre("vis.avi", "vis.avi"));

  written.clear();
  h.visualization.close_succeeds = false;
  h.log.lines.clear();
  ASSERT_TRUE(RunMeasurement(h.request, h.store, h.status, services));
  EXPECT_EQ(h.status, (RunStatus{2, 1}));
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(std::count(h.log.lines.begin(), h.log.lines.end(), "Failed to write visualization file \"vis.avi\""), 2);
}

TEST(RunMeasurementTest, ExceptionEndsTheRunAsAFailureAndKeepsWhatWasMeasured) {
  for (const int inputs : {1, 2}) {
    DriverHarness h;
    h.metrics.behaviour.inputs = inputs;
    h.metrics.behaviour.throw_at_frame = 2;
    h.AddFile("a.yuv", Clip({10, 20, 30, 40}));
    h.AddFile("b.yuv", Clip({12, 20, 25, 40}));
    EXPECT_FALSE(h.Run()) << inputs;
    EXPECT_EQ(h.status, (RunStatus{1, 2})) << inputs;
    ASSERT_FALSE(h.log.lines.empty());
    EXPECT_EQ(h.log.lines.back(), "Measurement aborted by an unexpected error: fake metric failed");
    EXPECT_FALSE(h.log.Contains("Done!"));
    const std::vector<int32_t> ids = h.store.SeriesIds();
    ASSERT_EQ(ids.size(), 1u);  // the run ended with the first file measured
    EXPECT_EQ(h.store.Values(ids[0]).size(), 2u);
  }
}

TEST(RunMeasurementTest, ThePoolIsLentToTheMetric) {
  TaskPool pool(2);
  DriverHarness h;
  h.pool = &pool;
  h.AddFile("a.yuv", Clip({10}));
  h.AddFile("b.yuv", Clip({12}));
  EXPECT_TRUE(h.Run());
  ASSERT_EQ(h.metrics.created.size(), 1u);
  EXPECT_EQ(h.metrics.created[0].pool, &pool);
}

TEST(RunMeasurementTest, IndexOutsideTheCatalogueRunsNothing) {
  DriverHarness h;
  h.request.metric_index = 5;
  h.AddFile("a.yuv", Clip({1}));
  EXPECT_FALSE(h.Run());
  EXPECT_EQ(h.status, (RunStatus{-1, -1}));
  EXPECT_TRUE(h.log.lines.empty());
}

}  // namespace
}  // namespace vidmetra
