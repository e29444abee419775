// Every vectorised kernel family at every CPU tier this processor has, on 1920 × 1080 frames, against the
// family's scalar reference in the same run: the counter "vs_scalar" is how many times faster the tier is
// (scalar time / tier time, medians of interleaved rounds). VIDMETRA_CPU_MASK caps the tiers timed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/cpu_tiers.h"
#include "support/frame_fill.h"
#include "vidmetra/blocking_lanes.h"
#include "vidmetra/bytes_to_floats.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_matrix.h"
#include "vidmetra/difference_lanes.h"
#include "vidmetra/fdct.h"
#include "vidmetra/frame_conversions.h"
#include "vidmetra/squared_error.h"
#include "vidmetra/ssim_kernels.h"
#include "vidmetra/vqm_lanes.h"
#include "vidmetra/yuv_plane_rows.h"

namespace vidmetra {
namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr size_t kSamples = static_cast<size_t>(kWidth) * kHeight;

// 8-bit pictures as decoded video gives them, as bytes, as floats and as a slightly noisy float copy.
struct Inputs {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kSamples);
  std::vector<float> original = std::vector<float>(kSamples), processed = std::vector<float>(kSamples);
  VideoFrame rgb24, yv12;
  Inputs() {
    std::mt19937 random(5);
    for (size_t i = 0; i < kSamples; ++i) {
      const int level = static_cast<int>((i * 7 + i / kWidth * 3) % 256);
      bytes[i] = static_cast<uint8_t>(level);
      original[i] = static_cast<float>(level);
      processed[i] = static_cast<float>(std::clamp(level + static_cast<int>(random() % 7) - 3, 0, 255));
    }
    rgb24.SetFormat(kWidth, kHeight, kRgb24, 0);
    yv12.SetFormat(kWidth, kHeight, kYv12, 0);
    testing::FillRandom(rgb24, 7);
    testing::FillRandom(yv12, 8);
  }
};

Inputs& Frames() {
  static Inputs inputs;
  return inputs;
}

// One frame's worth of work for a family, through its active table.
struct Family {
  std::string name;
  bool (*has_own_kernels)(const CpuTier& tier);
  std::function<void()> frame;
};

template <typename Table, void (*Init)(Table&, unsigned)>
bool HasOwn(const CpuTier& tier) {
  return testing::TierHasOwnKernels(Init, tier);
}

std::vector<Family> Families() {
  Inputs& in = Frames();
  return {
      {"rgb24_to_yv12", HasOwn<RgbYuvKernels, InitRgbYuvKernels>,
       [&in] {
         static VideoFrame target;
         target.SetFormat(kWidth, kHeight, kYv12, 0);
         ConvertPixelsWith(target, in.rgb24, {&ActiveRgbYuvKernels(), false});
       }},
      {"yv12_to_rgb24", HasOwn<RgbYuvKernels, InitRgbYuvKernels>,
       [&in] {
         static VideoFrame target;
         target.SetFormat(kWidth, kHeight, kRgb24, 0);
         ConvertPixelsWith(target, in.yv12, {&ActiveRgbYuvKernels(), false});
       }},
      {"ssim", HasOwn<SsimKernels, InitSsimKernels>,
       [&in] {
         static SsimScratch scratch;
         benchmark::DoNotOptimize(
             SsimSum({in.original.data(), in.processed.data(), kWidth, kHeight}, nullptr, scratch).Value());
       }},
      {"dct_lanes", HasOwn<DctKernels, InitDctKernels>,
       [] {
         static std::vector<int16_t> blocks(64 * kDctLanes, 37);
         const DctLanesFunction transform = ActiveDctKernels().transform;
         for (size_t group = 0; group < kSamples / (64 * kDctLanes); ++group) transform(blocks.data());
         benchmark::DoNotOptimize(blocks.data());
       }},
      {"vqm_lanes", HasOwn<VqmLaneKernels, InitVqmLaneKernels>,
       [&in] {
         const VqmLaneKernels& kernels = ActiveVqmLaneKernels();
         alignas(64) int16_t lanes[2][64 * kDctLanes];
         for (int y = 0; y + 8 <= kHeight; y += 8) {
           for (int x = 0; x < kWidth; x += 8 * kDctLanes) {
             const size_t origin = static_cast<size_t>(y) * kWidth + static_cast<size_t>(x);
             kernels.capture(in.original.data() + origin, kWidth, kDctLanes, lanes[0]);
             kernels.capture(in.processed.data() + origin, kWidth, kDctLanes, lanes[1]);
             benchmark::DoNotOptimize(kernels.compare(lanes[0], lanes[1]));
           }
         }
       }},
      {"squared_error", HasOwn<SquaredErrorKernels, InitSquaredErrorKernels>,
       [&in] { benchmark::DoNotOptimize(SumSquaredError(in.original.data(), in.processed.data(), kSamples)); }},
      {"yuv_rows_to_r", HasOwn<YuvPlaneRowKernels, InitYuvPlaneRowKernels>,
       [&in] {
         static std::vector<float> plane(kSamples);
         const YuvPlaneRowKernels& kernels = ActiveYuvPlaneRowKernels();
         const PlaneLayout y = in.yv12.Plane(0), u = in.yv12.Plane(2), v = in.yv12.Plane(1);
         for (int row = 0; row < kHeight; ++row) {
           const YuvSourceRow source{PlaneRow(y, row), PlaneRow(u, row / 2), PlaneRow(v, row / 2), kWidth, true};
           kernels.rgb(source, kComponentR, kRec601, plane.data() + static_cast<size_t>(row) * kWidth);
         }
         benchmark::DoNotOptimize(plane.data());
       }},
      {"absolute_differences", HasOwn<DifferenceLaneKernels, InitDifferenceLaneKernels>,
       [&in] {
         benchmark::DoNotOptimize(
             ActiveDifferenceLaneKernels().absolute(in.original.data(), in.processed.data(), kSamples));
       }},
      {"gradients", HasOwn<DifferenceLaneKernels, InitDifferenceLaneKernels>,
       [&in] { benchmark::DoNotOptimize(ActiveDifferenceLaneKernels().gradients(in.original.data(), kWidth, kHeight)); }},
      {"blocking_horizontal_boundaries", HasOwn<BlockingLaneKernels, InitBlockingLaneKernels>,
       [&in] {
         static std::vector<int32_t> integers(3 * kWidth), values(kWidth);
         static std::vector<float> floats(2 * kWidth);
         const BoundaryLines lines{integers.data(), integers.data() + kWidth, integers.data() + 2 * kWidth,
                                   floats.data(), floats.data() + kWidth};
         const BlockingLaneKernels& kernels = ActiveBlockingLaneKernels();
         for (int row = 8; row + 8 < kHeight; row += 8) {
           kernels.read_adjacent(in.processed.data() + static_cast<size_t>(row - 1) * kWidth, kWidth, kWidth, lines);
           kernels.evaluate(lines, kWidth, false, 40, values.data());
         }
         benchmark::DoNotOptimize(values.data());
       }},
      {"bytes_to_floats", HasOwn<BytesToFloatsKernels, InitBytesToFloatsKernels>,
       [&in] {
         static std::vector<float> floats(kSamples);
         BytesToFloats(in.bytes.data(), floats.data(), kSamples);
         benchmark::DoNotOptimize(floats.data());
       }},
  };
}

double SecondsPerFrame(const std::function<void()>& frame, unsigned mask, int frames) {
  const testing::ScopedCpuMask tier(mask);
  const auto start = std::chrono::steady_clock::now();
  for (int n = 0; n < frames; ++n) frame();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / frames;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void BM_Tier(benchmark::State& state, const Family& family, const CpuTier& tier) {
  {
    const testing::ScopedCpuMask mask(tier.mask);
    for (auto _ : state) family.frame();
  }
  std::vector<double> scalar, vector;
  for (int round = 0; round < 7; ++round) {
    scalar.push_back(SecondsPerFrame(family.frame, 0, 2));
    vector.push_back(SecondsPerFrame(family.frame, tier.mask, 2));
  }
  state.counters["vs_scalar"] = Median(scalar) / Median(vector);
}

const bool registered = [] {
  for (const Family& family : Families()) {
    for (const CpuTier& tier : testing::VectorTiers()) {
      if (!family.has_own_kernels(tier)) continue;
      benchmark::RegisterBenchmark((family.name + "/" + tier.name).c_str(), BM_Tier, family, tier)
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace
}  // namespace vidmetra
