#include "graph_controller.h"

#include <algorithm>

namespace vidmetra::plot {

GraphController::GraphController(int32_t first, int32_t last, std::optional<std::vector<int32_t>> bad_frames)
    : first_(first), last_(last), bad_frames_(std::move(bad_frames)) {
  // The searches below need the list ascending; a list handed over unsorted must not make them skip frames.
  if (bad_frames_) std::sort(bad_frames_->begin(), bad_frames_->end());
  const int64_t span = int64_t{last} - first;
  const auto width = static_cast<int32_t>(std::min(static_cast<double>(span) * 0.5, 1000.0));
  const int32_t centre = static_cast<int32_t>((int64_t{first} + last) / 2);
  view_start_ = static_cast<int32_t>(centre - width * 0.5);
  view_end_ = static_cast<int32_t>(centre + width * 0.5);
  current_ = centre;
}

void GraphController::GoToFrame(int32_t frame, bool centre) {
  if (!centre) {
    current_ = std::clamp(frame, view_start_, view_end_);
  } else {
    const int32_t w = view_end_ - view_start_;
    const int32_t start = std::clamp(frame - w / 2, first_, last_ - w);
    view_start_ = start;
    view_end_ = std::min(start + w, last_);
    current_ = std::clamp(frame, first_, last_);
  }
  Notify();
}

void GraphController::SetWindowWidth(int32_t width) {
  const int32_t w = std::clamp(width, std::min(2, last_ - first_), last_ - first_);
  const int32_t start = std::clamp(current_ - w / 2, first_, last_ - w);
  view_start_ = start;
  view_end_ = std::min(start + w, last_);
  current_ = std::clamp(current_, view_start_, view_end_);
  Notify();
}

void GraphController::PreviousBadFrame() {
  if (!bad_frames_) return;
  const auto it = std::lower_bound(bad_frames_->begin(), bad_frames_->end(), current_);
  if (it == bad_frames_->begin()) return;
  GoToFrame(*std::prev(it), true);
}

void GraphController::NextBadFrame() {
  if (!bad_frames_) return;
  const auto it = std::upper_bound(bad_frames_->begin(), bad_frames_->end(), current_);
  if (it == bad_frames_->end()) return;
  GoToFrame(*it, true);
}

void GraphController::AddListener(GraphListener* listener) { listeners_.push_back(listener); }

void GraphController::RemoveListener(GraphListener* listener) { std::erase(listeners_, listener); }

void GraphController::Notify() {
  // A listener may leave while it is told (a window closing itself): tell a copy.
  const std::vector<GraphListener*> listeners = listeners_;
  for (GraphListener* listener : listeners) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
      listener->ViewChanged(view_start_, view_end_, current_);
    }
  }
}

}  // namespace vidmetra::plot
