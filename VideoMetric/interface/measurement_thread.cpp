#include "measurement_thread.h"

#include "dialog_run_sink.h"
#include "vidmetra/measurement_session.h"

namespace vidmetra::ui {
namespace {

void Work(MeasurementSettings& settings, const MetricCatalogue& catalogue, ProgressDialog* dialog,
          const std::string& log_path, std::atomic<bool>& run_flag) {
  DialogRunSink sink(*dialog, catalogue);
  MeasurementSession session(catalogue, settings.request.metric_index);
  WorkerContext& context = session.Context();
  context.progress = &sink;
  context.display = &sink;
  context.log_path = log_path;
  context.run_flag = &run_flag;
  RunRecord record = session.Run(settings);
  QMetaObject::invokeMethod(
      dialog, [dialog, &record] { dialog->TakeRecord(std::move(record)); }, Qt::BlockingQueuedConnection);
}

}  // namespace

MeasurementThread::MeasurementThread(MeasurementSettings& settings, const MetricCatalogue& catalogue,
                                     ProgressDialog& dialog, std::string log_path, std::atomic<bool>& run_flag)
    : thread_(Work, std::ref(settings), std::cref(catalogue), &dialog, std::move(log_path), std::ref(run_flag)) {}

MeasurementThread::~MeasurementThread() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace vidmetra::ui
