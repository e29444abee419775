#include "progress_dialog.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace vidmetra::ui::testing {
namespace {

TEST(ProgressDialogTest, StaysUntilTheRecordIsInAndLeavesOnlyOnce) {
  int stops = 0;
  int ended = 0;
  std::vector<std::pair<int32_t, bool>> left;
  ProgressDialog::Handlers handlers{[&] { ++stops; }, [&] { ++ended; },
                                    [&](RunRecord record, bool auto_close) {
                                      left.emplace_back(record.status.measurement, auto_close);
                                    }};
  ProgressDialog dialog(nullptr, false, handlers);
  dialog.show();
  dialog.reject();  // Escape or the close button while the run is going on
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.continue_button()->isEnabled());
  dialog.stop()->click();
  EXPECT_EQ(stops, 1);

  // A long line can be scrolled to; the newest line is the selected one.
  dialog.AddLine("short");
  dialog.AddLine(QString(600, 'x'));
  QCoreApplication::processEvents();
  EXPECT_GT(dialog.lines()->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(dialog.lines()->currentRow(), 1);
  dialog.SetRange(0, 40);
  dialog.SetPosition(12);
  EXPECT_EQ(dialog.bar()->value(), 12);
  dialog.SetRange(5, 40);
  EXPECT_EQ(dialog.bar()->value(), 5);
  dialog.ShowFinished(5);
  EXPECT_EQ(dialog.bar()->value(), 5);
  EXPECT_FALSE(dialog.bar()->isTextVisible());
  // A file without frames gives an empty range, which must not turn the bar into a busy indicator.
  dialog.SetRange(0, 0);
  EXPECT_LT(dialog.bar()->minimum(), dialog.bar()->maximum());
  EXPECT_TRUE(dialog.bar()->isTextVisible());

  RunRecord record;
  record.status.measurement = 1;
  dialog.TakeRecord(std::move(record));
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(dialog.stop()->isEnabled());
  EXPECT_TRUE(dialog.continue_button()->isEnabled());
  dialog.reject();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 0);
  dialog.continue_button()->click();
  EXPECT_EQ(left, (std::vector<std::pair<int32_t, bool>>{{1, false}}));
}

}  // namespace
}  // namespace vidmetra::ui::testing
