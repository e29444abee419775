// Every built-in metric that reads 8-bit planes as bytes gives the very bits it gives on the floats: per-frame
// values, averages and visualizations, for bytes, floats and inputs of mixed kinds, on random frames of every
// layout whose luma (and, for metrics of differences, chroma) the preparation keeps as bytes.
#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <random>
#include <vector>

#include "support/frame_fill.h"
#include "support/visualization_target.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_matrix.h"
#include "vidmetra/frame_preparation.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/task_pool.h"

namespace vidmetra {
namespace {

struct HandedOutcome {
  std::vector<uint32_t> values;  // bits of every frame's values, then of the average
  std::vector<uint8_t> image;    // every visualized frame's rows
  bool operator==(const HandedOutcome&) const = default;
};

// Frames of one input: decoded, and prepared both ways.
struct PreparedInput {
  VideoFrame decoded;
  VideoFrame scratch;
  std::unique_ptr<PlaneFrame> floats;
  std::unique_ptr<PlaneFrame> bytes;
};

// The processed input is the original with noise of a random strength, so differences run from none to any.
void FillPair(PreparedInput& original, PreparedInput& processed, int colour_space, int width, int height, std::mt19937& random) {
  ASSERT_TRUE(original.decoded.SetFormat(width, height, colour_space, 0));
  ASSERT_TRUE(processed.decoded.SetFormat(width, height, colour_space, 0));
  testing::FillRandom(original.decoded, static_cast<uint32_t>(random()));
  const int strength = std::uniform_int_distribution<int>(0, 40)(random);
  for (int plane = 0; plane < original.decoded.PlaneCount(); ++plane) {
    const PlaneLayout from = original.decoded.Plane(plane), to = processed.decoded.Plane(plane);
    for (int y = 0; y < from.height; ++y) {
      for (int x = 0; x < from.width * from.unit; ++x) {
        const int noise = strength == 0 ? 0 : std::uniform_int_distribution<int>(-strength, strength)(random);
        const int level = from.origin[static_cast<ptrdiff_t>(y) * from.stride + x] + noise;
        to.origin[static_cast<ptrdiff_t>(y) * to.stride + x] = static_cast<uint8_t>(std::clamp(level, 0, 255));
      }
    }
  }
}

struct Case {
  int component;
  int colour_space;
  ByteKeeping keeping;
};

void Prepare(PreparedInput& input, const Case& kind, int width, int height) {
  if (!input.floats) {
    input.floats = std::make_unique<PlaneFrame>(width, height);
    input.bytes = std::make_unique<PlaneFrame>(width, height);
  }
  ASSERT_TRUE(PrepareFrame(input.decoded, input.scratch, *input.floats, kind.component, kRec601, false));
  ASSERT_TRUE(PrepareFrame(input.decoded, input.scratch, *input.bytes, kind.component, kRec601, false, kind.keeping));
  ASSERT_EQ(input.floats->ComponentBytes(kind.component), nullptr);
  ASSERT_NE(input.bytes->ComponentBytes(kind.component), nullptr);
}

void Record(const FrameResult& result, std::vector<uint32_t>& bits) {
  for (const auto& value : result) bits.push_back(std::bit_cast<uint32_t>(value.value));
}

// The run of `kind` on three frame pairs, each input handed as bytes when its bit in `byte_inputs` is set.
HandedOutcome MeasureHanded(const BuiltInMetric& metric, const Case& kind, int width, int height,
                            unsigned byte_inputs, bool visualize, TaskPool* pool, uint32_t seed) {
  std::mt19937 random(seed);
  const std::unique_ptr<Metric> measure = metric.create({kind.component, width, height, pool});
  const std::unique_ptr<VideoFrame> target = testing::MakeTarget(width, height);
  const int inputs = visualize ? metric.descriptor.inputs_visualized : metric.descriptor.inputs_plain;
  PreparedInput original, processed;
  HandedOutcome outcome;
  for (int frame = 0; frame < 3; ++frame) {
    FillPair(original, processed, kind.colour_space, width, height, random);
    Prepare(original, kind, width, height);
    Prepare(processed, kind, width, height);
    PreparedInput* handed[] = {inputs == 2 ? &original : &processed, &processed};
    PlaneFrame* frames[2];
    for (int i = 0; i < 2; ++i) frames[i] = ((byte_inputs >> i) & 1) ? handed[i]->bytes.get() : handed[i]->floats.get();
    const FrameList list(frames, static_cast<size_t>(inputs));
    Record(visualize ? measure->MeasureAndVisualize(list, *target) : measure->Measure(list), outcome.values);
    if (!visualize) continue;
    for (int row = 0; row < height; ++row) {
      const uint8_t* start = target->Plane(0).origin + static_cast<ptrdiff_t>(row) * target->stride();
      outcome.image.insert(outcome.image.end(), start, start + 3 * width);
    }
  }
  Record(measure->GetAverageResult(visualize), outcome.values);
  return outcome;
}

TEST(BytePlanes, EveryByteReadingMetricGivesTheBitsOfTheFloats) {
  std::mt19937 random(20261208);
  TaskPool pool(3);
  // Layouts whose luma is kept as bytes; chroma only from the planar ones.
  const int luma_layouts[] = {kYv12, kIyuv, kYuy2, kUyvy, kY, kYuv};
  const int chroma_layouts[] = {kYv12, kIyuv, kYuv};
  size_t checked = 0;
  for (const BuiltInMetric& metric : BuiltInMetrics()) {
    if (!metric.descriptor.reads_bytes) continue;
    SCOPED_TRACE(std::string(metric.descriptor.name));
    ++checked;
    const bool chroma = metric.descriptor.differences_only;
    const ByteKeeping keeping = chroma ? ByteKeeping::kDifferences : ByteKeeping::kExact;
    for (int round = 0; round < (chroma ? 18 : 12); ++round) {
      const int component = chroma ? round % 3 : kComponentY;
      const Case kind{component, component == kComponentY ? luma_layouts[round % std::size(luma_layouts)]
                                                          : chroma_layouts[round % std::size(chroma_layouts)],
                      keeping};
      const int width = 16 * std::uniform_int_distribution<int>(1, 14)(random);
      const int height = 8 * std::uniform_int_distribution<int>(1, 12)(random);
      const bool visualize = round % 4 >= 2;
      TaskPool* threads = round % 2 == 0 ? &pool : nullptr;
      const auto seed = static_cast<uint32_t>(random());
      SCOPED_TRACE(::testing::Message() << width << "x" << height << " component " << component << " colour space "
                                        << kind.colour_space << (visualize ? " visualized" : ""));
      const HandedOutcome floats = MeasureHanded(metric, kind, width, height, 0, visualize, threads, seed);
      ASSERT_FALSE(floats.values.empty());
      for (const unsigned byte_inputs : {1u, 2u, 3u}) {
        EXPECT_TRUE(MeasureHanded(metric, kind, width, height, byte_inputs, visualize, threads, seed) == floats)
            << "inputs as bytes: " << byte_inputs;
      }
    }
  }
  EXPECT_GE(checked, 5u);
}

}  // namespace
}  // namespace vidmetra
