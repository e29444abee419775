#pragma once
// The worker's side of the progress dialog. Each call waits until the dialog has shown it, so every line is on
// screen before the measurement goes on, and the dialog's thread never waits for the worker.
#include <QPointer>

#include "progress_dialog.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/run_log.h"

namespace vidmetra::ui {

class DialogRunSink : public ProgressSink, public LineDisplay {
 public:
  DialogRunSink(ProgressDialog& dialog, const MetricCatalogue& catalogue) : dialog_(&dialog), catalogue_(catalogue) {}

  void Begin(int32_t metric_index, const std::vector<std::string>& paths, int32_t component) override;
  void SetMinimum(int32_t value) override;
  void SetMaximum(int32_t value) override;
  void SetPosition(int32_t value) override;
  void Finish() override;
  void AddLine(const std::string& line) override;

 private:
  template <typename Call>
  void OnDialog(Call call);

  QPointer<ProgressDialog> dialog_;
  const MetricCatalogue& catalogue_;
  // Read and written on the worker thread only; the dialog gets copies.
  int32_t minimum_ = 0;
  int32_t maximum_ = 100;
};

}  // namespace vidmetra::ui
