#pragma once
// A modal dialog runs its own event loop; the answer is queued before it opens and given once it is up.
#include <QApplication>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace vidmetra::ui::testing {

template <typename Dialog>
void WhenModalOpens(std::function<void(Dialog&)> answer) {
  QTimer::singleShot(0, [answer = std::move(answer)] {
    auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "the expected dialog did not open";
      return;
    }
    answer(*dialog);
  });
}

}  // namespace vidmetra::ui::testing
