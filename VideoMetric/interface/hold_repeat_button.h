#pragma once
// A push button that repeats its command while held, faster the longer it is held.
#include <QPushButton>
#include <QTimer>

namespace vidmetra::ui {

class HoldRepeatButton : public QPushButton {
  Q_OBJECT
 public:
  explicit HoldRepeatButton(QWidget* parent = nullptr);

 signals:
  void command();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Tick();

  static constexpr int kFirstDelayMs = 100;
  QTimer timer_;
  int delay_ms_ = kFirstDelayMs;
  bool ticked_ = false;
};

}  // namespace vidmetra::ui
