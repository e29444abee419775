#pragma once
// Disables a fixed list of controls for the time of a run and gives each back the state it had before, so that a
// control the run found disabled stays disabled.
#include <QWidget>
#include <vector>

namespace vidmetra::ui {

class ControlLock {
 public:
  explicit ControlLock(std::vector<QWidget*> controls) : controls_(std::move(controls)) {}
  void Lock();
  void Unlock();

 private:
  std::vector<QWidget*> controls_;
  std::vector<bool> was_enabled_;
};

}  // namespace vidmetra::ui
