#include "hold_repeat_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace vidmetra::ui {

HoldRepeatButton::HoldRepeatButton(QWidget* parent) : QPushButton(parent) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &HoldRepeatButton::Tick);
}

void HoldRepeatButton::mousePressEvent(QMouseEvent* event) {
  QPushButton::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  ticked_ = false;
  delay_ms_ = kFirstDelayMs;
  timer_.start(delay_ms_);
}

void HoldRepeatButton::mouseReleaseEvent(QMouseEvent* event) {
  QPushButton::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !timer_.isActive()) return;
  timer_.stop();
  if (!ticked_) emit command();
}

void HoldRepeatButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    emit command();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void HoldRepeatButton::Tick() {
  ticked_ = true;
  emit command();
  delay_ms_ = std::max(delay_ms_ - 5, 1);
  timer_.start(delay_ms_);
}

}  // namespace vidmetra::ui
