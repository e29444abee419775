#pragma once
// The window of a running measurement: its time-stamped lines, its progress, "Stop" while it runs and
// "Continue" once the worker has handed its record over. Every call comes on the user-interface thread; the
// worker reaches it through DialogRunSink.
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <functional>
#include <optional>

#include "vidmetra/measurement_worker.h"

namespace vidmetra::ui {

class ProgressDialog : public QDialog {
 public:
  struct Handlers {
    std::function<void()> stop;                  // "Stop" was pressed
    std::function<void()> ended;                 // the worker has handed its record over
    std::function<void(RunRecord, bool)> leave;  // "Continue": the record, and whether "autoclose" was checked
  };
  ProgressDialog(QWidget* parent, bool auto_close, Handlers handlers);

  void AddLine(const QString& line);
  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  // The measurement is over: the bar goes back to its minimum and, being empty, shows no percentage.
  void ShowFinished(int minimum);
  // The worker's last word: "Stop" is over, "Continue" opens, and "autoclose" presses it.
  void TakeRecord(RunRecord record);

  QListWidget* lines() const { return lines_; }
  QProgressBar* bar() const { return bar_; }
  QPushButton* continue_button() const { return continue_; }
  QPushButton* stop() const { return stop_; }
  QCheckBox* auto_close() const { return auto_close_; }

  // Leaving is "Continue", and only once the run is over.
  void reject() override;

 private:
  void Continue();

  Handlers handlers_;
  std::optional<RunRecord> record_;
  QListWidget* lines_;
  QProgressBar* bar_;
  QPushButton* continue_;
  QPushButton* stop_;
  QCheckBox* auto_close_;
};

}  // namespace vidmetra::ui
