#include "control_lock.h"

namespace vidmetra::ui {

void ControlLock::Lock() {
  was_enabled_.clear();
  for (QWidget* control : controls_) {
    was_enabled_.push_back(control->isEnabled());
    control->setEnabled(false);
  }
}

void ControlLock::Unlock() {
  for (size_t i = 0; i < controls_.size() && i < was_enabled_.size(); ++i) {
    if (was_enabled_[i]) controls_[i]->setEnabled(true);
  }
}

}  // namespace vidmetra::ui
