#include "measurement_thread.h"

#include "dialog_run_sink.h"
#include "vidmetra/caption_font.h"
#include "vidmetra/file_reader_opener.h"
#include "vidmetra/plane_frame_preparer.h"
#include "vidmetra/task_pool.h"
#include "vidmetra/visualization_file_factory.h"

namespace vidmetra::ui {
namespace {

void Work(MeasurementSettings& settings, const MetricCatalogue& catalogue, ProgressDialog* dialog,
          const std::string& log_path, std::atomic<bool>& run_flag) {
  DialogRunSink sink(*dialog, catalogue);
  TaskPool pool;  // one thread per core, the run's own included
  FileReaderOpener opener(&pool);
  PlaneFramePreparer preparer(catalogue, settings.request.metric_index);
  VisualizationFileFactory visualization(catalogue, CaptionFont::Shared());
  WorkerContext context;
  context.catalogue = &catalogue;
  context.preparer = &preparer;
  context.visualization = &visualization;
  context.opener = &opener;
  context.pool = &pool;
  context.progress = &sink;
  context.display = &sink;
  context.log_path = log_path;
  context.run_flag = &run_flag;
  RunRecord record = MeasurementWorker(settings, context);
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
