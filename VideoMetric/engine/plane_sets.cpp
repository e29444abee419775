#include "vidmetra/plane_sets.h"

#include <algorithm>

#include "vidmetra/task_pool.h"

namespace vidmetra {

PlaneSets::PlaneSets(std::span<const MetricChoice* const> metrics, const MetricSource& source,
                     const FramePreparer& preparer, std::vector<int32_t> colour_spaces, int32_t width, int32_t height)
    : colour_spaces_(std::move(colour_spaces)) {
  for (const MetricChoice* metric : metrics) {
    const bool shared = source.IsBuiltIn(metric->metric_index);
    const int32_t key = preparer.PreparationKey(*metric, colour_spaces_);
    const auto same =
        std::find_if(sets_.begin(), sets_.end(), [&](const Set& set) { return shared && set.shared && set.key == key; });
    set_of_.push_back(static_cast<size_t>(same - sets_.begin()));
    if (same != sets_.end()) {
      if (same->preparation.component != metric->component) {
        same->preparation.component = key;
        same->merged = true;
      }
      continue;
    }
    Set& set = sets_.emplace_back(Set{*metric, key, shared, false, {}, {}});
    for (size_t i = 0; i < colour_spaces_.size(); ++i) {
      set.frames.push_back(set.planes.emplace_back(std::make_unique<PlaneFrame>(width, height)).get());
    }
  }
}

bool PlaneSets::KeyedFor(std::span<const InputFrames> inputs) const {
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (inputs[i].decoded->colour_space() != colour_spaces_[i]) return false;
  }
  return true;
}

bool PlaneSets::Prepare(FramePreparer& preparer, std::span<const InputFrames> inputs, int32_t colour_matrix,
                        TaskPool* pool) const {
  for (const Set& set : sets_) {
    for (const PlaneFrame* planes : set.frames) {
      if (!planes->valid()) return false;
    }
    // One preparation serves several components only for the colour spaces it was chosen for.
    if (set.merged && !KeyedFor(inputs)) return false;
  }
  // Each input has its own scratch frame and planes, so the inputs are prepared side by side.
  std::vector<char> prepared(inputs.size(), 1);
  RunParts(pool, static_cast<int>(inputs.size()), [&](int part) {
    const size_t i = static_cast<size_t>(part);
    for (const Set& set : sets_) {
      if (!preparer.Prepare(*inputs[i].decoded, *inputs[i].scratch, *set.planes[i], set.preparation, colour_matrix)) {
        prepared[i] = 0;
        return;
      }
    }
  });
  return std::all_of(prepared.begin(), prepared.end(), [](char ok) { return ok != 0; });
}

}  // namespace vidmetra
