#pragma once
// The keys of the results viewer, the same on the graph window and the frame window: arrows step through
// frames, Ctrl+arrows through bad frames, Ctrl+G copies the plot, Ctrl+C the frame, 1/2/3 choose the frame's input.
#include <QWidget>
#include <functional>

namespace vidmetra::ui {

struct ViewerCommands {
  std::function<void()> previous_frame;
  std::function<void()> next_frame;
  std::function<void()> previous_bad_frame;
  std::function<void()> next_bad_frame;
  std::function<void()> copy_plot;
  std::function<void()> copy_frame;
  std::function<void(int)> select_input;  // 0 original, 1 first processed, 2 second processed
};

// Shortcuts on `window` and every widget in it.
void AddViewerShortcuts(QWidget* window, const ViewerCommands& commands);

}  // namespace vidmetra::ui
