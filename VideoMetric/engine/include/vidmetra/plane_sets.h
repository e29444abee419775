#pragma once
// The planes one pass over the files prepares for every frame: a PlaneFrame per input for each distinct
// preparation its metrics need, allocated once per file. Built-in metrics whose preparations fill the same planes
// share one set; a plug-in, which may write into what it is handed, has a set of its own.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "vidmetra/measurement_driver.h"

namespace vidmetra {

// One input's frames as the preparation takes them.
struct InputFrames {
  const VideoFrame* decoded;
  VideoFrame* scratch;
};

class PlaneSets {
 public:
  // `colour_spaces`: what each input's reader delivers. Sets frames of width × height for every input.
  PlaneSets(std::span<const MetricChoice* const> metrics, const MetricSource& source, const FramePreparer& preparer,
            std::vector<int32_t> colour_spaces, int32_t width, int32_t height);

  // The prepared frames of the `metric`-th metric given at construction.
  FrameList FramesOf(size_t metric) const { return sets_[set_of_[metric]].frames; }
  // Prepares the planes of every set for the `input`-th input from its decoded frame; false when the frame could
  // not be converted. Each input has a scratch frame and planes of its own, so inputs may be prepared side by side.
  bool PrepareInput(FramePreparer& preparer, const InputFrames& frames, size_t input, int32_t colour_matrix) const;

 private:
  struct Set {
    MetricChoice preparation;  // the first metric's own until a metric of another component joins
    int32_t key;
    bool shared;
    bool merged;  // serves metrics of more than one component
    ByteKeeping keeping;  // what every metric it serves allows
    std::vector<std::unique_ptr<PlaneFrame>> planes;
    std::vector<PlaneFrame*> frames;  // the same, as the metrics take them
  };
  std::vector<Set> sets_;
  std::vector<size_t> set_of_;
  std::vector<int32_t> colour_spaces_;
};

}  // namespace vidmetra
