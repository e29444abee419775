// RGB24 to 4:2:0 and 4:4:4 and back at 1920 x 1080, the kernels the processor runs against the scalar reference.
#include <benchmark/benchmark.h>

#include "support/frame_fill.h"
#include "vidmetra/frame_conversions.h"

namespace vidmetra {
namespace {

constexpr int kWidth = 1920, kHeight = 1080;

void Convert(benchmark::State& state, int target_space, int source_space, const RgbYuvKernels& kernels) {
  VideoFrame source, target;
  source.SetFormat(kWidth, kHeight, source_space, 0);
  target.SetFormat(kWidth, kHeight, target_space, 0);
  testing::FillRandom(source, 7);
  const ConversionOptions options{&kernels, false};
  for (auto _ : state) {
    ConvertPixelsWith(target, source, options);
    benchmark::DoNotOptimize(target.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void Rgb24ToYv12Scalar(benchmark::State& state) { Convert(state, kYv12, kRgb24, ScalarRgbYuvKernels()); }
void Rgb24ToYv12Vector(benchmark::State& state) { Convert(state, kYv12, kRgb24, ActiveRgbYuvKernels()); }
void Rgb24ToYuvScalar(benchmark::State& state) { Convert(state, kYuv, kRgb24, ScalarRgbYuvKernels()); }
void Rgb24ToYuvVector(benchmark::State& state) { Convert(state, kYuv, kRgb24, ActiveRgbYuvKernels()); }
void Yv12ToRgb24Scalar(benchmark::State& state) { Convert(state, kRgb24, kYv12, ScalarRgbYuvKernels()); }
void Yv12ToRgb24Vector(benchmark::State& state) { Convert(state, kRgb24, kYv12, ActiveRgbYuvKernels()); }

BENCHMARK(Rgb24ToYv12Scalar)->Unit(benchmark::kMillisecond);
BENCHMARK(Rgb24ToYv12Vector)->Unit(benchmark::kMillisecond);
BENCHMARK(Rgb24ToYuvScalar)->Unit(benchmark::kMillisecond);
BENCHMARK(Rgb24ToYuvVector)->Unit(benchmark::kMillisecond);
BENCHMARK(Yv12ToRgb24Scalar)->Unit(benchmark::kMillisecond);
BENCHMARK(Yv12ToRgb24Vector)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vidmetra
