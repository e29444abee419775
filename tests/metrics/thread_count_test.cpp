// The metrics that split a frame or its sums across the pool's threads give the same bits whatever the number of threads:
// per-frame values, averages and visualization maps.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "support/plane_frames.h"
#include "support/visualization_target.h"
#include "vidmetra/delta_metric.h"
#include "vidmetra/msad_metric.h"
#include "vidmetra/mse_metric.h"
#include "vidmetra/psnr_metric.h"
#include "vidmetra/ssim_metric.h"
#include "vidmetra/task_pool.h"
#include "vidmetra/vqm_metric.h"

namespace vidmetra {
namespace {

struct Outcome {
  std::vector<float> values;   // per frame, then the average
  std::vector<uint8_t> image;  // every visualized frame's rows
};

// Whole levels as 8-bit planes give, or with fractions as converted R, G, B or L planes have.
std::unique_ptr<PlaneFrame> RandomPlanes(int width, int height, bool fractional, std::mt19937& random) {
  std::uniform_int_distribution<int> level(0, 255);
  std::uniform_int_distribution<int> thousandths(0, 999);
  return testing::MakePlanes(width, height, [&](int, int) {
    return static_cast<float>(level(random)) + (fractional ? static_cast<float>(thousandths(random)) / 1000.0f : 0.0f);
  });
}

template <typename MetricType, bool kFractional>
Outcome Measure(int width, int height, TaskPool* pool, bool visualize) {
  std::mt19937 random(static_cast<unsigned>(width * 131 + height));
  MetricType metric({kComponentY, width, height, pool});
  std::unique_ptr<VideoFrame> target = testing::MakeTarget(width, height);
  Outcome outcome;
  for (int frame = 0; frame < 3; ++frame) {
    const std::unique_ptr<PlaneFrame> a = RandomPlanes(width, height, kFractional, random);
    const std::unique_ptr<PlaneFrame> b = RandomPlanes(width, height, kFractional, random);
    PlaneFrame* frames[] = {a.get(), b.get()};
    const FrameResult result = visualize ? metric.MeasureAndVisualize(frames, *target) : metric.Measure(frames);
    outcome.values.push_back(result.at(0).value);
    if (!visualize) continue;
    for (int row = 0; row < height; ++row) {
      const uint8_t* start = target->Plane(0).origin + static_cast<ptrdiff_t>(row) * target->stride();
      outcome.image.insert(outcome.image.end(), start, start + 3 * width);
    }
  }
  outcome.values.push_back(metric.GetAverageResult(visualize).at(0).value);
  return outcome;
}

template <typename MetricType, bool kFractional = false>
void ExpectTheSameBitsForEveryThreadCount() {
  const int sizes[][2] = {{8, 8}, {16, 24}, {72, 56}, {200, 64}, {64, 136}};
  std::vector<std::unique_ptr<TaskPool>> pools;
  for (const int threads : {1, 2, 3, 5}) pools.push_back(std::make_unique<TaskPool>(threads));
  for (const auto& size : sizes) {
    for (const bool visualize : {false, true}) {
      const Outcome alone = Measure<MetricType, kFractional>(size[0], size[1], nullptr, visualize);
      for (const auto& pool : pools) {
        const Outcome shared = Measure<MetricType, kFractional>(size[0], size[1], pool.get(), visualize);
        ASSERT_EQ(shared.values.size(), alone.values.size());
        EXPECT_EQ(std::memcmp(shared.values.data(), alone.values.data(), alone.values.size() * sizeof(float)), 0)
            << size[0] << "x" << size[1] << " with " << pool->Threads() << " threads";
        EXPECT_TRUE(shared.image == alone.image) << size[0] << "x" << size[1] << " with " << pool->Threads();
      }
    }
  }
}

TEST(ThreadCount, SsimIsTheSameBitForBit) { ExpectTheSameBitsForEveryThreadCount<SsimMetric>(); }

TEST(ThreadCount, VqmIsTheSameBitForBit) { ExpectTheSameBitsForEveryThreadCount<VqmMetric>(); }

// Their float sums are split across the pool.
TEST(ThreadCount, DifferenceMetricsAreTheSameBitForBit) {
  ExpectTheSameBitsForEveryThreadCount<PsnrMetric, true>();
  ExpectTheSameBitsForEveryThreadCount<MseMetric, true>();
  ExpectTheSameBitsForEveryThreadCount<MsadMetric, true>();
  ExpectTheSameBitsForEveryThreadCount<DeltaMetric, true>();
}

}  // namespace
}  // namespace vidmetra
