// Several metrics in one pass against the same metrics run one at a time, through the real catalogue, readers
// and frame preparation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>

#include "support/byte_files.h"
#include "support/driver_fakes.h"
#include "support/temp_dir.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/measurement_session.h"

namespace vidmetra {
namespace {

// A raw IYUV clip of `frames` frames: the original's bytes, or those bytes with pseudo-random noise of up to
// ±`noise` on every sample.
std::vector<uint8_t> ClipBytes(const std::vector<uint8_t>& original, size_t frame_bytes, int frames, int noise,
                               std::mt19937& random) {
  std::vector<uint8_t> bytes(original.begin(), original.begin() + static_cast<ptrdiff_t>(frame_bytes * frames));
  std::uniform_int_distribution<int> offset(-noise, noise);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(std::clamp(byte + offset(random), 0, 255));
  return bytes;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameSeries(const SeriesInfo& a, const SeriesInfo& b) {
  if (a.metric_index != b.metric_index || a.component != b.component || a.name != b.name ||
      a.files.size() != b.files.size()) {
    return false;
  }
  for (size_t i = 0; i < a.files.size(); ++i) {
    if (a.files[i].path != b.files[i].path) return false;
  }
  return true;
}

class MultiMetricTest : public ::testing::Test {
 protected:
  // Three threads, so that the metrics of a frame measure side by side while the next frame is read and
  // prepared; the runs of one metric alone on one thread, which loads each frame after the last was measured.
  MultiMetricTest() : catalogue_("/nonexistent/plugins"), session_(catalogue_, 3), alone_session_(catalogue_, 1) {
    session_.Context().log_echo = nullptr;
    alone_session_.Context().log_echo = nullptr;
  }

  // An original and two processed clips of a random size; the second processed one a frame shorter.
  void WriteClips(std::mt19937& random) {
    std::uniform_int_distribution<int> blocks(3, 6);
    width_ = 8 * blocks(random);
    height_ = 8 * blocks(random);
    const size_t frame_bytes = static_cast<size_t>(width_ * height_ * 3 / 2);
    const int frames = 4;
    const std::vector<uint8_t> original = testing::PatternBytes(frame_bytes * frames, static_cast<uint32_t>(random()));
    testing::WriteBytes(dir_.File("orig.yuv"), original);
    testing::WriteBytes(dir_.File("enc1.yuv"), ClipBytes(original, frame_bytes, frames, 6, random));
    testing::WriteBytes(dir_.File("enc2.yuv"), ClipBytes(original, frame_bytes, frames - 1, 20, random));
  }

  MetricChoice Choice(const std::string& name, int32_t component) const {
    return {*catalogue_.FindByName(name), component, {}};
  }

  // Every built-in metric on every component it measures.
  std::vector<MetricChoice> Candidates() const {
    std::vector<MetricChoice> candidates;
    for (int32_t i = 0; i < catalogue_.Count(); ++i) {
      for (const int32_t component : catalogue_.Entry(i)->components) candidates.push_back({i, component, {}});
    }
    return candidates;
  }

  // Runs `metrics` in one pass with per-metric CSV files written into `folder`.
  RunRecord Run(const std::vector<MetricChoice>& metrics, const std::string& folder, RunGate* gate = nullptr,
                MeasurementSession* session = nullptr) {
    std::filesystem::create_directories(folder);
    MeasurementSettings settings;
    settings.request.files.clear();
    for (const char* name : {"orig.yuv", "enc1.yuv", "enc2.yuv"}) {
      settings.request.files.push_back({dir_.File(name), width_, height_, kIyuv});
    }
    settings.request.metric_index = metrics.front().metric_index;
    settings.request.component = metrics.front().component;
    settings.request.further_metrics.assign(metrics.begin() + 1, metrics.end());
    settings.request.gate = gate;
    settings.csv.enabled = true;
    settings.csv.per_metric = true;
    settings.csv.output_folder = folder;
    return (session != nullptr ? *session : session_).Run(settings);
  }

  testing::TempDir dir_;
  MetricCatalogue catalogue_;
  MeasurementSession session_;
  MeasurementSession alone_session_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

TEST_F(MultiMetricTest, EverySeriesEqualsItsMetricMeasuredAloneBitForBit) {
  std::mt19937 random(20240601);
  std::vector<MetricChoice> candidates = Candidates();
  for (int round = 0; round < 6; ++round) {
    WriteClips(random);
    std::shuffle(candidates.begin(), candidates.end(), random);
    std::vector<MetricChoice> metrics(candidates.begin(),
                                      candidates.begin() + std::uniform_int_distribution<int>(2, 6)(random));
    // The first round surely has U and V metrics share one preparation.
    if (round == 0) {
      metrics = {Choice("psnr", kComponentV), Choice("mse", kComponentU), Choice("ssim", kComponentY),
                 Choice("msad", kComponentV), Choice("blurring_measure", kComponentV)};
    }
    const std::string multi_folder = dir_.File("multi" + std::to_string(round));
    const RunRecord multi = Run(metrics, multi_folder);
    ASSERT_TRUE(multi.success);
    ASSERT_EQ(multi.status, (RunStatus{2, 2}));
    ASSERT_EQ(multi.csv_failures, 0);
    size_t series_alone = 0;
    for (size_t m = 0; m < metrics.size(); ++m) {
      const std::string folder = dir_.File("alone" + std::to_string(round) + "_" + std::to_string(m));
      const RunRecord alone = Run({metrics[m]}, folder, nullptr, &alone_session_);
      ASSERT_EQ(alone.status, (RunStatus{2, 2}));
      for (const int32_t id : alone.store->SeriesIds()) {
        ++series_alone;
        const std::vector<int32_t> multi_ids = multi.store->SeriesIds();
        const auto twin = std::find_if(multi_ids.begin(), multi_ids.end(), [&](int32_t other) {
          return SameSeries(*multi.store->Series(other), *alone.store->Series(id));
        });
        ASSERT_NE(twin, multi_ids.end()) << catalogue_.Title(metrics[m].metric_index);
        const std::vector<FrameValue>& expected = alone.store->Values(id);
        const std::vector<FrameValue>& actual = multi.store->Values(*twin);
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
          EXPECT_EQ(actual[i].frame, expected[i].frame);
          EXPECT_TRUE(SameBits(actual[i].value, expected[i].value))
              << catalogue_.Title(metrics[m].metric_index) << " frame " << i << ": " << actual[i].value << " vs "
              << expected[i].value;
        }
        EXPECT_TRUE(SameBits(*multi.store->Average(*twin), *alone.store->Average(id)));
      }
      // The metric's own CSV file of the pass is the very file its run alone writes.
      ASSERT_EQ(alone.csv_paths.size(), 1u);
      const std::string name = std::filesystem::path(alone.csv_paths[0]).filename().string();
      EXPECT_EQ(testing::ReadText(multi_folder + "/" + name), testing::ReadText(alone.csv_paths[0])) << name;
    }
    EXPECT_EQ(multi.store->SeriesIds().size(), series_alone);
    EXPECT_EQ(multi.csv_paths.size(), metrics.size());
  }
}

TEST_F(MultiMetricTest, StoppedRunEndsEveryMetricAtTheSameFrame) {
  std::mt19937 random(7);
  WriteClips(random);
  // Frames 0 to 2 pass their checkpoints; the stop comes at frame 2's and ends the reference pass, so the
  // single-input metric and the second processed file are never measured.
  testing::CountingGate gate(2);
  const RunRecord record = Run({Choice("psnr", kComponentY), Choice("ssim", kComponentY), Choice("psnr", kComponentV),
                                Choice("blocking_measure", kComponentY), Choice("vqm", kComponentY)},
                               dir_.File("stopped"), &gate);
  EXPECT_EQ(record.status.measurement, 1);
  const std::vector<int32_t> ids = record.store->SeriesIds();
  ASSERT_EQ(ids.size(), 4u);
  for (const int32_t id : ids) {
    EXPECT_EQ(record.store->Values(id).size(), 3u) << record.store->Series(id)->metric_index;
    EXPECT_TRUE(record.store->Average(id).has_value());
    EXPECT_EQ(record.store->Series(id)->files.back().path, dir_.File("enc1.yuv"));
  }
  EXPECT_EQ(record.csv_paths.size(), 4u);
}

TEST_F(MultiMetricTest, MetricThatDoesNotFitTheFileLeavesTheOthersMeasuring) {
  std::mt19937 random(11);
  WriteClips(random);
  width_ += 4;  // no longer a multiple of 8: blocking cannot measure, blurring can
  const size_t frame_bytes = static_cast<size_t>(width_ * height_ * 3 / 2);
  testing::WriteBytes(dir_.File("orig.yuv"), testing::PatternBytes(frame_bytes * 2, 3));
  testing::WriteBytes(dir_.File("enc1.yuv"), testing::PatternBytes(frame_bytes * 2, 4));
  testing::WriteBytes(dir_.File("enc2.yuv"), testing::PatternBytes(frame_bytes * 2, 5));
  const RunRecord record =
      Run({Choice("psnr", kComponentY), Choice("blocking_measure", kComponentY), Choice("blurring_measure", kComponentY)},
          dir_.File("partly"));
  EXPECT_EQ(record.status.measurement, 1);
  EXPECT_TRUE(record.success);
  int psnr = 0, blurring = 0;
  for (const int32_t id : record.store->SeriesIds()) {
    const SeriesInfo& info = *record.store->Series(id);
    EXPECT_NE(info.metric_index, *catalogue_.FindByName("blocking_measure"));
    psnr += info.metric_index == *catalogue_.FindByName("psnr");
    blurring += info.metric_index == *catalogue_.FindByName("blurring_measure");
    EXPECT_EQ(record.store->Values(id).size(), 2u);
  }
  EXPECT_EQ(psnr, 2);      // each processed file against the original
  EXPECT_EQ(blurring, 3);  // each file alone
}

}  // namespace
}  // namespace vidmetra
