// Time per 1920 × 1080 Y frame of every built-in metric with the default threads, reported as frames per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>
#include <random>

#include "vidmetra/blocking_metric.h"
#include "vidmetra/blurring_metric.h"
#include "vidmetra/delta_metric.h"
#include "vidmetra/msad_metric.h"
#include "vidmetra/mse_metric.h"
#include "vidmetra/psnr_metric.h"
#include "vidmetra/signed_colouring.h"
#include "vidmetra/ssim_kernels.h"
#include "vidmetra/ssim_metric.h"
#include "vidmetra/task_pool.h"
#include "vidmetra/vqm_metric.h"

namespace vidmetra {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A textured picture and a slightly noisy copy of it, 8-bit values as decoded video gives them.
struct FramePair {
  PlaneFrame original{kWidth, kHeight};
  PlaneFrame processed{kWidth, kHeight};
  FramePair() {
    std::mt19937 random(1);
    std::uniform_int_distribution<int> noise(-3, 3);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const int level = (x * 7 + y * 3 + (x * y) % 23) % 256;
        original.Y()[y * kWidth + x] = static_cast<float>(level);
        processed.Y()[y * kWidth + x] = static_cast<float>(std::clamp(level + noise(random), 0, 255));
      }
    }
  }
};

FramePair& Frames() {
  static FramePair pair;
  return pair;
}

// The threads a measurement gets by default: one per core.
TaskPool& Pool() {
  static TaskPool pool;
  return pool;
}

template <typename MetricType>
void BM_Metric(benchmark::State& state) {
  MetricType metric({kComponentY, kWidth, kHeight, &Pool()});
  PlaneFrame* frames[] = {&Frames().original, &Frames().processed};
  for (auto _ : state) benchmark::DoNotOptimize(metric.Measure(frames));
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The whole frame in one thread; kernel_bench times each tier's kernel against this reference.
void BM_SsimReference(benchmark::State& state) {
  SsimScratch scratch;
  const SsimPlanes planes{Frames().original.Y(), Frames().processed.Y(), kWidth, kHeight};
  for (auto _ : state) {
    SsimIndexSum sum;
    SsimSumScalar(planes, nullptr, scratch, sum);
    benchmark::DoNotOptimize(sum.Value());
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A frame measured with its map drawn into a 24-bit picture, as a run with visualization does.
template <typename MetricType>
void BM_Visualized(benchmark::State& state) {
  MetricType metric({kComponentY, kWidth, kHeight, &Pool()});
  PlaneFrame* frames[] = {&Frames().original, &Frames().processed};
  VideoFrame target;
  target.SetFormat(kWidth, kHeight, kRgb24, 0);
  for (auto _ : state) benchmark::DoNotOptimize(metric.MeasureAndVisualize(frames, target));
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The colouring of a map by table against the per-pixel reference walk, on per-pixel PSNR values and on signed
// differences of the frame pair.
template <bool kTable, bool kPsnr>
void BM_MapColouring(benchmark::State& state) {
  std::vector<float> map(static_cast<size_t>(kWidth) * kHeight);
  for (size_t i = 0; i < map.size(); ++i) {
    const float d = Frames().original.Y()[i] - Frames().processed.Y()[i];
    map[i] = kPsnr ? (d * d <= 1.0f ? 100.0f : static_cast<float>(10.0 * std::log10(65025.0 / (d * d)))) : d;
  }
  VideoFrame target;
  target.SetFormat(kWidth, kHeight, kRgb24, 0);
  for (auto _ : state) {
    if (kTable && kPsnr) RenderMapByTable(map.data(), target, PsnrColours().data(), [](float p) { return PsnrColourIndex(p); });
    if (kTable && !kPsnr) RenderSignedDifferenceMap(map.data(), target);
    if (!kTable) RenderMap(map.data(), target, kPsnr ? PsnrColour : SignedDifferenceColour);
    benchmark::ClobberMemory();
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Visualized<PsnrMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Visualized<MseMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Visualized<MsadMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Visualized<DeltaMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Visualized<BlockingMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapColouring<true, true>)->Name("BM_MapColouring/psnr/table")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapColouring<false, true>)->Name("BM_MapColouring/psnr/reference")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapColouring<true, false>)->Name("BM_MapColouring/signed/table")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapColouring<false, false>)->Name("BM_MapColouring/signed/reference")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Metric<SsimMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SsimReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Metric<VqmMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Metric<BlockingMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Metric<BlurringMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Metric<MsadMetric>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Metric<DeltaMetric>)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vidmetra

