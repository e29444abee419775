#pragma once
// The frame window: the current frame of one input of the run, following the graph's current frame, with zoom,
// pan, input choice, frame and bad-frame steps and a copy to the clipboard. Belongs to the graph window.
#include <QDialog>
#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "frame_source.h"
#include "graph_controller.h"

class QLineEdit;
class QRadioButton;
class QSlider;

namespace vidmetra::ui {

class FrameDisplay;

class FrameWindow : public QDialog, public plot::GraphListener {
  Q_OBJECT
 public:
  // Opens every input through `opener` and shows the controller's current frame of the first that opened.
  FrameWindow(plot::GraphController& controller, const std::map<int32_t, InputFileEntry>& inputs,
              int32_t colour_matrix, ReaderOpener& opener, QWidget* parent = nullptr);
  ~FrameWindow() override;

  void ViewChanged(int32_t view_start, int32_t view_end, int32_t current) override;

  // Nothing happens for an input without a reader.
  void SelectInput(int input);
  void CopyFrame();
  void ZoomIn();
  void ZoomOut();
  void SetScale(int percent);

  std::optional<int32_t> selected() const { return selected_; }
  FrameDisplay& display() { return *display_; }
  QSlider& scale_slider() { return *scale_slider_; }
  QLineEdit& scale_field() { return *scale_field_; }
  QRadioButton& input_button(int input) { return *inputs_[static_cast<size_t>(input)]; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QWidget* BuildControls(bool with_bad_frames);
  void AddKeys();
  void ShowCurrent();
  void ScaleChanged();

  plot::GraphController& controller_;
  FrameSource source_;
  std::optional<int32_t> selected_;
  FrameDisplay* display_ = nullptr;
  QSlider* scale_slider_ = nullptr;
  QLineEdit* scale_field_ = nullptr;
  std::array<QRadioButton*, 3> inputs_{};
};

}  // namespace vidmetra::ui
