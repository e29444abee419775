#pragma once
// The frame arithmetic of the results graph: the range every series covers, the control window (view) inside
// it and the current frame inside the view. Plain class, so that every command can be driven without a window.
#include <cstdint>
#include <optional>
#include <vector>

namespace vidmetra::plot {

// Told after every command, whether or not it moved anything.
class GraphListener {
 public:
  virtual ~GraphListener() = default;
  virtual void ViewChanged(int32_t view_start, int32_t view_end, int32_t current) = 0;
};

class GraphController {
 public:
  // `bad_frames` ascending, or none when bad frames were not saved. Requires first <= last.
  GraphController(int32_t first, int32_t last, std::optional<std::vector<int32_t>> bad_frames);

  void GoToFrame(int32_t frame, bool centre);
  void SetWindowWidth(int32_t width);

  void PreviousFrame() { GoToFrame(current_ - 1, true); }
  void NextFrame() { GoToFrame(current_ + 1, true); }
  void Widen() { SetWindowWidth(view_end_ - view_start_ + 2); }
  void Narrow() { SetWindowWidth(view_end_ - view_start_ - 2); }
  // One notch of a mouse wheel is 120.
  void Wheel(int delta) { SetWindowWidth(view_end_ - view_start_ + delta / 120); }
  // Nothing happens when no listed frame lies in that direction.
  void PreviousBadFrame();
  void NextBadFrame();

  void AddListener(GraphListener* listener);
  void RemoveListener(GraphListener* listener);
  // Tells every listener the present view, as after a command.
  void Notify();

  int32_t first() const { return first_; }
  int32_t last() const { return last_; }
  int32_t view_start() const { return view_start_; }
  int32_t view_end() const { return view_end_; }
  int32_t current() const { return current_; }
  const std::optional<std::vector<int32_t>>& bad_frames() const { return bad_frames_; }

 private:
  int32_t first_;
  int32_t last_;
  int32_t view_start_;
  int32_t view_end_;
  int32_t current_;
  std::optional<std::vector<int32_t>> bad_frames_;
  std::vector<GraphListener*> listeners_;
};

}  // namespace vidmetra::plot
