// Preparing one 1920 x 1080 frame for a Y-component metric: what a built-in needs (the Y plane only) against
// the full preparation that plug-ins get, in the same run.
#include <benchmark/benchmark.h>

#include "support/frame_fill.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_matrix.h"
#include "vidmetra/frame_preparation.h"

namespace vidmetra {
namespace {

constexpr int kWidth = 1920, kHeight = 1080;

void Prepare(benchmark::State& state, int colour_space, int component, bool all_planes) {
  VideoFrame decoded, scratch;
  decoded.SetFormat(kWidth, kHeight, colour_space, 0);
  testing::FillRandom(decoded, 11);
  PlaneFrame planes(kWidth, kHeight);
  for (auto _ : state) {
    PrepareFrame(decoded, scratch, planes, component, kRec601, all_planes);
    benchmark::DoNotOptimize(planes.ComponentPlane(component));
  }
}

void Yv12LumaBuiltIn(benchmark::State& state) { Prepare(state, kYv12, kComponentY, false); }
void Yv12LumaAllPlanes(benchmark::State& state) { Prepare(state, kYv12, kComponentY, true); }
void Rgb24LumaBuiltIn(benchmark::State& state) { Prepare(state, kRgb24, kComponentY, false); }
void Rgb24LumaAllPlanes(benchmark::State& state) { Prepare(state, kRgb24, kComponentY, true); }

BENCHMARK(Yv12LumaBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(Yv12LumaAllPlanes)->Unit(benchmark::kMillisecond);
BENCHMARK(Rgb24LumaBuiltIn)->Unit(benchmark::kMillisecond);
BENCHMARK(Rgb24LumaAllPlanes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vidmetra
