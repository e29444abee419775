#pragma once
// The program's window: three inputs, a metric and a colour component, the outputs, and "Process". It owns the
// run from the start check to the end-of-run handling; the settings object it edits lives as long as it does.
#include <QWidget>
#include <atomic>
#include <memory>

#include "control_lock.h"
#include "finish_sound.h"
#include "input_rules.h"
#include "main_dialog_controls.h"
#include "measurement_thread.h"
#include "progress_dialog.h"
#include "results_bundle.h"
#include "shell_paths.h"
#include "user_prompts.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/semaphore_run_gate.h"
#include "vidmetra/settings_store.h"

namespace vidmetra::ui {

class MainDialog : public QWidget {
  Q_OBJECT

 public:
  MainDialog(const MetricCatalogue& catalogue, MeasurementSettings& settings, const SettingsStore& store,
             UserPrompts& prompts, ShellPaths paths);
  ~MainDialog() override;

  const MainDialogControls& controls() const { return c_; }
  // The open progress dialog, null between runs.
  ProgressDialog* progress() const { return progress_; }
  bool running() const { return run_flag_ || progress_ != nullptr; }
  const FinishSound& finish_sound() const { return finish_sound_; }

  // Opens the dialog of an input file; false when none was chosen (or a raw YUV file's size was not given).
  bool ChooseInputFile(size_t input);
  // Makes sure a raw YUV input has a size before it is measured.
  bool CheckYuvEntry(InputFileEntry& entry, std::string& last_used);
  void UpdateReadiness();
  void ApplyMetricChoice();
  // Starts a run for `dialog`, or, while one runs, asks whether to stop it. False when the run did not start.
  bool StartOrStop(ProgressDialog& dialog);
  void FinishRun(RunRecord record);
  void LockControls(bool lock);

 signals:
  // A completed run whose results are to be shown.
  void resultsReady(const vidmetra::ui::ResultsBundle& bundle);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Initialise();
  void Connect();
  void ConnectOutputs();
  void ConnectDialogs();
  void ShowSettings();
  void Browse(size_t input);
  void ApplyBadFrameRule();
  void Process();
  void AskToStop();
  int32_t InputCount() const;
  InputPaths Paths() const;

  const MetricCatalogue& catalogue_;
  MeasurementSettings& settings_;
  const SettingsStore& store_;
  UserPrompts& prompts_;
  ShellPaths paths_;
  MainDialogControls c_;
  std::unique_ptr<ControlLock> lock_;
  std::atomic<bool> run_flag_{false};
  std::unique_ptr<SemaphoreRunGate> gate_;
  ProgressDialog* progress_ = nullptr;
  std::unique_ptr<MeasurementThread> thread_;
  FinishSound finish_sound_;
};

}  // namespace vidmetra::ui
