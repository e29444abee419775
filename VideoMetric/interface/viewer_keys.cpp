#include "viewer_keys.h"

#include <QShortcut>

namespace vidmetra::ui {
namespace {

void Bind(QWidget* window, const QKeySequence& keys, const std::function<void()>& action) {
  auto* shortcut = new QShortcut(keys, window);
  shortcut->setContext(Qt::WindowShortcut);
  shortcut->setAutoRepeat(true);
  QObject::connect(shortcut, &QShortcut::activated, window, [action] { action(); });
}

}  // namespace

void AddViewerShortcuts(QWidget* window, const ViewerCommands& commands) {
  Bind(window, QKeySequence(Qt::Key_Left), commands.previous_frame);
  Bind(window, QKeySequence(Qt::Key_Right), commands.next_frame);
  Bind(window, QKeySequence(Qt::CTRL | Qt::Key_Left), commands.previous_bad_frame);
  Bind(window, QKeySequence(Qt::CTRL | Qt::Key_Right), commands.next_bad_frame);
  Bind(window, QKeySequence(Qt::CTRL | Qt::Key_G), commands.copy_plot);
  Bind(window, QKeySequence(Qt::CTRL | Qt::Key_C), commands.copy_frame);
  const auto select = commands.select_input;
  Bind(window, QKeySequence(Qt::Key_1), [select] { select(0); });
  Bind(window, QKeySequence(Qt::Key_2), [select] { select(1); });
  Bind(window, QKeySequence(Qt::Key_3), [select] { select(2); });
}

}  // namespace vidmetra::ui
