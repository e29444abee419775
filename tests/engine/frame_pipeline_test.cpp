// Frames read and prepared one ahead of the metrics: the overlap itself, and runs whose every told outcome (log,
// progress, stored values, status) equals that of the same run loading each frame in turn.
#include "vidmetra/frame_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <random>
#include <thread>

#include "support/driver_fakes.h"
#include "vidmetra/task_pool.h"

namespace vidmetra {
namespace {

using testing::CountingGate;
using testing::DriverHarness;
using testing::FakeClip;

// Waits up to 20 s for `flag`; whether it came.
bool AwaitFlag(const std::atomic<bool>& flag) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!flag && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  return flag;
}

struct PipelineRig {
  explicit PipelineRig(bool ahead, TaskPool* pool)
      : reader("clip", Clip()),
        choice{0, 0, {}},
        pipeline([this] { return MakeSets(); }, preparer, {{&decoded, &scratch}}, 0, pool, ahead,
                 [this](size_t, int32_t n) {
                   read_started[static_cast<size_t>(n)] = true;
                   return reader.ReadFrame(decoded, n);
                 }) {}
  static FakeClip Clip() {
    FakeClip clip;
    clip.levels = {10, 20, 30, 40, 50};
    return clip;
  }
  PlaneSets MakeSets() {
    const MetricChoice* const choices[] = {&choice};
    return PlaneSets(choices, source, preparer, {kY}, 16, 16);
  }

  testing::FakeReader reader;
  testing::FakeMetricSource source;
  testing::FakePreparer preparer;
  MetricChoice choice;
  VideoFrame decoded, scratch;
  std::atomic<bool> read_started[5] = {};
  FramePipeline pipeline;
};

// Measures every frame of the rig's clip; for each frame whether the next one's read had begun while it was
// measured (waiting for it when `await_next`), and the level of the planes it was handed.
void MeasureAll(PipelineRig& rig, bool await_next, std::vector<bool>& overlapped, std::vector<float>& levels) {
  ASSERT_TRUE(rig.pipeline.Load(0).read);
  for (int32_t n = 0; n < 5; ++n) {
    const std::optional<int32_t> next = n < 4 ? std::optional<int32_t>(n + 1) : std::nullopt;
    const FrameLoad load = rig.pipeline.MeasureWhileLoading(
        [&](const PlaneSets& sets) {
          overlapped.push_back(next && (await_next ? AwaitFlag(rig.read_started[n + 1]) : rig.read_started[n + 1].load()));
          levels.push_back(sets.FramesOf(0)[0]->Y()[17]);
        },
        next);
    ASSERT_TRUE(load.read && load.prepared && !load.failure);
  }
}

TEST(FramePipelineTest, TheNextFrameIsReadWhileTheMetricsMeasureAndEachGetsItsOwnFrame) {
  TaskPool pool(2);
  PipelineRig rig(true, &pool);
  std::vector<bool> overlapped;
  std::vector<float> levels;
  MeasureAll(rig, true, overlapped, levels);
  EXPECT_EQ(overlapped, (std::vector<bool>{true, true, true, true, false}));
  EXPECT_EQ(levels, (std::vector<float>{10, 20, 30, 40, 50}));
}

TEST(FramePipelineTest, WithoutAThreadBesideTheMetricsOrForAPlugInFramesLoadInTurn) {
  TaskPool one(1);
  TaskPool two(2);
  for (const auto& [pool, ahead] : {std::pair<TaskPool*, bool>{nullptr, true}, {&one, true}, {&two, false}}) {
    PipelineRig rig(ahead, pool);
    std::vector<bool> overlapped;
    std::vector<float> levels;
    MeasureAll(rig, false, overlapped, levels);
    EXPECT_EQ(overlapped, std::vector<bool>(5, false));
    EXPECT_EQ(levels, (std::vector<float>{10, 20, 30, 40, 50}));
  }
}

// Everything a finished run tells, in a form two runs can be compared in.
struct Told {
  bool success;
  RunStatus status;
  std::vector<std::string> log, progress;
  // The frames and the bits of the values, and of the averages, per series.
  std::vector<std::vector<std::pair<int32_t, uint32_t>>> values;
  std::vector<std::optional<uint32_t>> averages;
};

// A random run: one or two inputs, up to three metrics, files of random length and levels, and now and then a
// read that fails or throws, a conversion that fails, a metric that throws, a stop or a visualization.
Told RandomRun(uint32_t seed, TaskPool* pool) {
  std::mt19937 random(seed);
  auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
  auto number = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  DriverHarness h;
  h.pool = pool;
  h.metrics.behaviour.inputs = number(1, 2);
  if (chance(15)) h.metrics.behaviour.throw_at_frame = number(0, 5);
  for (int extra = number(0, 2); extra > 0; --extra) h.request.further_metrics.push_back({0, 0, {}});
  h.request.visualization.enabled = chance(30);
  std::vector<uint8_t> all_levels;
  for (int file = number(2, 3); file > 0; --file) {
    FakeClip clip;
    for (int frame = number(1, 6); frame > 0; --frame) clip.levels.push_back(static_cast<uint8_t>(number(0, 99)));
    if (chance(20)) clip.fail_at = number(0, 6);
    if (chance(15)) clip.throw_at = number(0, 6);
    all_levels.insert(all_levels.end(), clip.levels.begin(), clip.levels.end());
    h.AddFile(std::to_string(file) + ".yuv", clip);
  }
  if (chance(20)) h.preparer.fail_on_level = all_levels[static_cast<size_t>(number(0, static_cast<int>(all_levels.size()) - 1))];
  CountingGate gate(number(0, 8));
  if (chance(25)) h.request.gate = &gate;
  Told told{h.Run(), h.status, h.log.lines, h.progress.calls, {}, {}};
  for (const int32_t id : h.store.SeriesIds()) {
    told.values.emplace_back();
    for (const FrameValue& value : h.store.Values(id)) {
      told.values.back().emplace_back(value.frame, std::bit_cast<uint32_t>(value.value));
    }
    const std::optional<float> average = h.store.Average(id);
    told.averages.push_back(average ? std::optional(std::bit_cast<uint32_t>(*average)) : std::nullopt);
  }
  return told;
}

TEST(FramePipelineTest, RunsReadingAheadTellWhatRunsLoadingInTurnTell) {
  TaskPool pool(3);
  int stopped_early = 0;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    const Told in_turn = RandomRun(seed, nullptr);
    const Told ahead = RandomRun(seed, &pool);
    ASSERT_EQ(ahead.success, in_turn.success) << "seed " << seed;
    ASSERT_EQ(ahead.status, in_turn.status) << "seed " << seed;
    ASSERT_EQ(ahead.log, in_turn.log) << "seed " << seed;
    ASSERT_EQ(ahead.progress, in_turn.progress) << "seed " << seed;
    ASSERT_EQ(ahead.values, in_turn.values) << "seed " << seed;
    ASSERT_EQ(ahead.averages, in_turn.averages) << "seed " << seed;
    stopped_early += in_turn.status.measurement != 2 ? 1 : 0;
  }
  EXPECT_GT(stopped_early, 30);  // the failures and stops were exercised, not only clean runs
}

}  // namespace
}  // namespace vidmetra
