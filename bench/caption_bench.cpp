// The caption's cost at 1080p: stamping it alone, and one visualization frame (flip, caption, uncompressed write)
// with the caption against the same frame without caption text, measured in one run. Read the ratio of the two
// frame rows as the caption's share of a visualization frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "vidmetra/caption_font.h"
#include "vidmetra/caption_painter.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/visualization_file.h"

namespace vidmetra {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

ResultStore TwoSeries() {
  ResultStore store;
  store.AddSeries(1, {0, kComponentY, {{"clips/original.yuv", 0, 0, 0}, {"clips/processed.yuv", 0, 0, 0}}, "", ""});
  store.AddSeries(2, {0, kComponentY, {{"clips/original.yuv", 0, 0, 0}, {"clips/second.yuv", 0, 0, 0}}, "", ""});
  return store;
}

void BM_CaptionStamp1080p(benchmark::State& state) {
  const ResultStore store = TwoSeries();
  const int64_t row_bytes = RowBytes(kRgb24, kWidth);
  std::vector<uint8_t> bitmap(static_cast<size_t>(row_bytes * kHeight), 90);
  CaptionPainter painter(CaptionFont::Shared(), MetricCatalogue::Instance());
  const CaptionSettings settings;  // frame number and both value lines
  int32_t frame = 0;
  for (auto _ : state) {
    painter.Draw({bitmap.data(), kWidth, kHeight, static_cast<ptrdiff_t>(row_bytes)}, frame++,
                 {{1, 31.25f + static_cast<float>(frame % 7)}, {2, 29.5f}}, false, settings, store);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CaptionStamp1080p)->Unit(benchmark::kMicrosecond);

// state.range(0): 1 with caption text, 0 without (a font that draws nothing).
void BM_VisualizationFrame1080p(benchmark::State& state) {
  const ResultStore store = TwoSeries();
  const CaptionFont none("");
  const TextStamp& stamp = state.range(0) != 0 ? static_cast<const TextStamp&>(CaptionFont::Shared()) : none;
  VisualizationSettings settings;
  settings.name_generation = kNameCustom;
  settings.custom_name = "/dev/null";  // the writer's cost without the disk's
  settings.width = kWidth;
  settings.height = kHeight;
  VisualizationFile file(settings, {1, 2}, store, MetricCatalogue::Instance(), stamp);
  VideoFrame image;
  if (!file.Open() || !image.SetFormat(kWidth, kHeight, kRgb24, 0)) {
    state.SkipWithError("cannot open the visualization output");
    return;
  }
  int32_t frame = 0;
  for (auto _ : state) file.WriteFrame(image, frame++, {{1, 31.25f}, {2, 29.5f}}, store);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VisualizationFrame1080p)->Arg(0)->Arg(1)->ArgName("caption")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vidmetra
