#include "vidmetra/plane_sets.h"

#include <algorithm>


namespace vidmetra {

PlaneSets::PlaneSets(std::span<const MetricChoice* const> metrics, const MetricSource& source,
                     const FramePreparer& preparer, std::vector<int32_t> colour_spaces, int32_t width, int32_t height)
    : colour_spaces_(std::move(colour_spaces)) {
  for (const MetricChoice* metric : metrics) {
    const bool shared = source.IsBuiltIn(metric->metric_index);
    const ByteKeeping keeping = source.BytesKept(metric->metric_index);
    const int32_t key = preparer.PreparationKey(*metric, colour_spaces_);
    const auto same =
        std::find_if(sets_.begin(), sets_.end(), [&](const Set& set) { return shared && set.shared && set.key == key; });
    set_of_.push_back(static_cast<size_t>(same - sets_.begin()));
    if (same != sets_.end()) {
      same->keeping = std::min(same->keeping, keeping);
      if (same->preparation.component != metric->component) {
        same->preparation.component = key;
        same->merged = true;
      }
      continue;
    }
    Set& set = sets_.emplace_back(Set{*metric, key, shared, false, keeping, {}, {}});
    for (size_t i = 0; i < colour_spaces_.size(); ++i) {
      set.frames.push_back(set.planes.emplace_back(std::make_unique<PlaneFrame>(width, height)).get());
    }
  }
}

bool PlaneSets::PrepareInput(FramePreparer& preparer, const InputFrames& frames, size_t input,
                             int32_t colour_matrix) const {
  // One preparation serves several components only for the colour space it was chosen for.
  const bool keyed = frames.decoded->colour_space() == colour_spaces_[input];
  for (const Set& set : sets_) {
    if (!set.planes[input]->valid() || (set.merged && !keyed)) return false;
  }
  for (const Set& set : sets_) {
    if (!preparer.Prepare(*frames.decoded, *frames.scratch, *set.planes[input], set.preparation, colour_matrix,
                          set.keeping)) {
      return false;
    }
  }
  return true;
}

}  // namespace vidmetra
