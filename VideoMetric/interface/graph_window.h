#pragma once
// The results graph window: the run's per-frame values of every input on two stacked plots (the whole range
// with the control window, and the control window alone), the values at the current frame, and the commands
// that move through frames, copy the plot and open the frame window.
#include <QDialog>
#include <QPointer>
#include <array>
#include <memory>

#include "graph_controller.h"
#include "plot_source.h"
#include "results_bundle.h"
#include "vidmetra/metric_catalogue.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace vidmetra::ui {

class FrameWindow;
class GraphPanel;

class GraphWindow : public QDialog, public plot::GraphListener {
  Q_OBJECT
 public:
  // The bundle's store must outlive the window. A bundle without values cannot be shown: check CanShow first.
  GraphWindow(const ResultsBundle& bundle, const MetricCatalogue& catalogue, QWidget* parent = nullptr);
  ~GraphWindow() override;

  static bool CanShow(const ResultsBundle& bundle);

  void ViewChanged(int32_t view_start, int32_t view_end, int32_t current) override;

  plot::GraphController& controller() { return *controller_; }
  GraphPanel& upper() { return *upper_; }
  GraphPanel& lower() { return *lower_; }
  // The open frame window, or null.
  FrameWindow* frame_window() const;
  QLabel* value_label(int input) const { return value_labels_[static_cast<size_t>(input)]; }

  Q_INVOKABLE void CopyPlot();
  void ShowFrame();

 protected:
  void done(int result) override;

 private:
  QWidget* BuildLegend();
  QWidget* BuildValues();
  QWidget* BuildSlide();
  QWidget* BuildControls();
  void AddKeys();
  void CloseFrameWindow();

  ResultsBundle bundle_;
  plot::PlotSource source_;
  std::unique_ptr<plot::GraphController> controller_;
  GraphPanel* upper_ = nullptr;
  GraphPanel* lower_ = nullptr;
  std::array<QLabel*, 3> value_labels_{};
  QSlider* slider_ = nullptr;
  QLineEdit* frame_field_ = nullptr;
  QCheckBox* grid_ = nullptr;
  QPointer<FrameWindow> frame_window_;
};

}  // namespace vidmetra::ui
