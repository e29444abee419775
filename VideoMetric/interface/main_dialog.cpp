#include "main_dialog.h"

#include <QCloseEvent>

#include "advanced_file_dialog.h"
#include "bad_frames_dialog.h"
#include "csv_visualization_dialog.h"
#include "help_addresses.h"
#include "input_rules.h"
#include "metric_configuration_dialog.h"
#include "more_options_dialog.h"
#include "svg_pixmap.h"
#include "vidmetra/compressor_settings.h"
#include "yuv_file_dialog.h"

namespace vidmetra::ui {
namespace {

inline constexpr const char* kInputFilter =
    "All supported files (AVI / AVS / BMP / YUV) (*.avi *.bmp *.yuv *.avs *.AVI *.BMP *.YUV *.AVS);;"
    "AVI files (*.avi *.AVI);;AviSynth scripts (*.avs *.AVS);;Bitmaps (*.bmp *.BMP);;"
    "Raw YUV (*.yuv *.YUV);;All files (*)";

void ZeroSize(InputFileEntry& entry) { entry.width = entry.height = entry.colour_mode = 0; }

}  // namespace

MainDialog::MainDialog(const MetricCatalogue& catalogue, MeasurementSettings& settings, const SettingsStore& store,
                       UserPrompts& prompts, ShellPaths paths)
    : QWidget(nullptr, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      catalogue_(catalogue),
      settings_(settings),
      store_(store),
      prompts_(prompts),
      paths_(std::move(paths)) {
  setWindowTitle("Vidmetra 1.3");
  setWindowIcon(QIcon(SvgPixmap(":/vidmetra/vidmetra.svg", QSize(64, 64))));
  c_ = BuildMainDialog(*this);
  lock_ = std::make_unique<ControlLock>(std::vector<QWidget*>{
      c_.browse[0], c_.browse[1], c_.show_results, c_.browse[2], c_.comparative, c_.save_csv,
      c_.save_visualization, c_.save_bad_frames, c_.csv_visualization_advanced, c_.bad_frames_advanced,
      c_.more_options, c_.metric, c_.components[0], c_.components[1], c_.components[2], c_.components[3],
      c_.components[4], c_.components[5], c_.components[6], c_.exit, c_.advanced_files});
  Initialise();
  Connect();
}

MainDialog::~MainDialog() = default;

void MainDialog::Initialise() {
  InputState& input = settings_.input;
  for (InputFileEntry& entry : input.inputs) entry = InputFileEntry{};
  ResetMetricConfigurations(input, catalogue_);
  store_.LoadSettings(settings_, catalogue_);
  LoadCompressorSettings(paths_.codec_config, settings_.visualization.compressor);
  for (int32_t i = 0; i < catalogue_.Count(); ++i) c_.metric->addItem(QString::fromStdString(catalogue_.Title(i)), i);
  c_.metric->setCurrentIndex(c_.metric->findData(settings_.request.metric_index));
  ApplyMetricChoice();
  ShowSettings();
  UpdateReadiness();
}

void MainDialog::ShowSettings() {
  const int32_t component = settings_.request.component;
  if (component >= 0 && static_cast<size_t>(component) < c_.components.size()) {
    c_.components[static_cast<size_t>(component)]->setChecked(true);
  }
  c_.save_csv->setChecked(settings_.csv.enabled);
  c_.save_visualization->setChecked(settings_.visualization.enabled);
  c_.save_bad_frames->setChecked(settings_.bad_frames.enabled);
  c_.comparative->setChecked(settings_.input.comparative_analysis);
  c_.show_results->setChecked(settings_.show_report);
  c_.browse[2]->setEnabled(settings_.input.comparative_analysis);
  c_.csv_visualization_advanced->setEnabled(settings_.csv.enabled || settings_.visualization.enabled);
  c_.bad_frames_advanced->setEnabled(settings_.bad_frames.enabled);
}

void MainDialog::Connect() {
  for (size_t i = 0; i < c_.paths.size(); ++i) {
    connect(c_.paths[i], &QLineEdit::textChanged, this, [this, i](const QString& text) {
      settings_.input.inputs[i].path = text.left(kFieldCharacters).toStdString();
      UpdateReadiness();
    });
    connect(c_.browse[i], &QPushButton::clicked, this, [this, i] { Browse(i); });
  }
  connect(c_.comparative, &QCheckBox::clicked, this, [this](bool checked) {
    settings_.input.comparative_analysis = checked;
    c_.browse[2]->setEnabled(checked);
    UpdateReadiness();
  });
  connect(c_.metric, &QComboBox::currentIndexChanged, this, [this] {
    ApplyMetricChoice();
    UpdateReadiness();
  });
  connect(c_.show_results, &QCheckBox::toggled, this, [this](bool checked) { settings_.show_report = checked; });
  ConnectOutputs();
  ConnectDialogs();
  connect(c_.process, &QPushButton::clicked, this, [this] { Process(); });
  connect(c_.exit, &QPushButton::clicked, this, &QWidget::close);
}

void MainDialog::ConnectOutputs() {
  connect(c_.save_csv, &QCheckBox::clicked, this, [this](bool checked) {
    settings_.csv.enabled = checked;
    c_.csv_visualization_advanced->setEnabled(settings_.csv.enabled || settings_.visualization.enabled);
  });
  connect(c_.save_visualization, &QCheckBox::clicked, this, [this](bool checked) {
    settings_.visualization.enabled = checked;
    c_.csv_visualization_advanced->setEnabled(c_.save_csv->isChecked() || checked);
    UpdateReadiness();
  });
  connect(c_.save_bad_frames, &QCheckBox::clicked, this, [this](bool checked) {
    settings_.bad_frames.enabled = checked;
    c_.bad_frames_advanced->setEnabled(checked);
    if (checked && settings_.bad_frames.count == 0) settings_.bad_frames.count = 10;
  });
}

void MainDialog::ConnectDialogs() {
  connect(c_.advanced_files, &QPushButton::clicked, this,
          [this] { AdvancedFileDialog(this, settings_.request, prompts_, paths_.help_folder).exec(); });
  connect(c_.csv_visualization_advanced, &QPushButton::clicked, this,
          [this] { CsvVisualizationDialog(this, settings_, prompts_).exec(); });
  connect(c_.bad_frames_advanced, &QPushButton::clicked, this,
          [this] { BadFramesDialog(this, settings_, prompts_).exec(); });
  connect(c_.more_options, &QPushButton::clicked, this,
          [this] { MoreOptionsDialog(this, settings_.input, prompts_).exec(); });
  connect(c_.metric_settings, &QPushButton::clicked, this, [this] {
    MetricConfigurationDialog(this, settings_).exec();
    ApplyMetricChoice();
  });
  connect(c_.measure_info, &QPushButton::clicked, this, [this] {
    const CatalogueEntry* entry = catalogue_.Entry(c_.metric->currentData().toInt());
    if (entry != nullptr && !entry->help_address.empty()) {
      prompts_.OpenAddress(LocalOrWebAddress(entry->help_address, paths_.help_folder));
    }
  });
  connect(c_.website, &QPushButton::clicked, this, [this] {
    const std::string local = LocalOrWebAddress(kIndexPage, paths_.help_folder);
    prompts_.OpenAddress(local == kIndexPage ? std::string(kWebsiteAddress) : local);
  });
  connect(c_.feedback, &QPushButton::clicked, this,
          [this] { prompts_.OpenAddress(LocalOrWebAddress(kFeedbackPage, paths_.help_folder)); });
}

int32_t MainDialog::InputCount() const {
  return catalogue_.InputCount(settings_.request.metric_index, settings_.visualization.enabled);
}

InputPaths MainDialog::Paths() const {
  const auto& inputs = settings_.input.inputs;
  return {inputs[0].path, inputs[1].path, inputs[2].path};
}

void MainDialog::UpdateReadiness() {
  const bool ready = IsReady(InputCount(), settings_.input.comparative_analysis, Paths());
  c_.process->setEnabled(ready);
  c_.status->setText(ready ? "Ready" : "Select video files and options");
  settings_.bad_frames.mode = FixedBadFrameMode(settings_.input.comparative_analysis, settings_.bad_frames.mode);
}

void MainDialog::ApplyMetricChoice() {
  if (c_.metric->currentIndex() < 0) return;
  const int32_t index = c_.metric->currentData().toInt();
  settings_.request.metric_index = index;
  const CatalogueEntry* entry = catalogue_.Entry(index);
  if (entry == nullptr) return;
  c_.metric_settings->setEnabled(entry->configurable);
  c_.metric_settings_label->setVisible(entry->configurable);
  const auto& configurations = settings_.input.metric_configurations;
  c_.metric_settings_label->setText(
      static_cast<size_t>(index) < configurations.size() ? QString::fromStdString(configurations[static_cast<size_t>(index)]) : QString());
  const std::vector<int32_t>& supported = entry->components;
  const bool any_checked = std::any_of(supported.begin(), supported.end(), [this](int32_t component) {
    return c_.components[static_cast<size_t>(component)]->isChecked();
  });
  if (!any_checked && !supported.empty()) {
    c_.components[static_cast<size_t>(supported.front())]->setChecked(true);
    settings_.request.component = supported.front();
  }
  for (QRadioButton* button : c_.components) button->setEnabled(false);
  for (const int32_t component : supported) c_.components[static_cast<size_t>(component)]->setEnabled(true);
}

void MainDialog::Browse(size_t input) {
  if (ChooseInputFile(input)) {
    c_.paths[input]->setText(QString::fromStdString(settings_.input.inputs[input].path));
    UpdateReadiness();
    ApplyBadFrameRule();
  }
}

void MainDialog::ApplyBadFrameRule() {
  const bool allowed = AllowsBadFrames(Paths());
  c_.save_bad_frames->setEnabled(allowed);
  c_.bad_frames_advanced->setEnabled(allowed && c_.save_bad_frames->isChecked());
}

bool MainDialog::ChooseInputFile(size_t input) {
  InputState& state = settings_.input;
  std::string* const last_used[] = {&state.last_original, &state.last_first_processed, &state.last_second_processed};
  const auto chosen = prompts_.ChooseOpenFile(this, kInputFilter, *last_used[input]);
  if (!chosen) return false;
  *last_used[input] = *chosen;
  // The entry changes only when the choice is complete, so that a cancelled size leaves it matching its field.
  InputFileEntry entry = state.inputs[input];
  entry.path = *chosen;
  if (IsRawYuvPath(entry.path)) {
    if (YuvFileDialog(this, entry, prompts_).exec() == 0) {
      ZeroSize(state.inputs[input]);
      return false;
    }
  } else {
    ZeroSize(entry);
  }
  state.inputs[input] = entry;
  return true;
}

bool MainDialog::CheckYuvEntry(InputFileEntry& entry, std::string& last_used) {
  last_used = entry.path;
  if (!IsRawYuvPath(entry.path)) {
    ZeroSize(entry);
    return true;
  }
  if (entry.width != 0 && entry.height != 0 && IsValidColourMode(entry.colour_mode)) return true;
  if (YuvFileDialog(this, entry, prompts_).exec() != 0) return true;
  ZeroSize(entry);
  return false;
}

void MainDialog::Process() {
  const bool auto_close = settings_.input.auto_close_progress;
  ProgressDialog::Handlers handlers;
  handlers.stop = [this] { AskToStop(); };
  handlers.ended = [this] {
    if (settings_.input.play_wav && !settings_.input.wav_path.empty()) finish_sound_.Play(settings_.input.wav_path);
  };
  handlers.leave = [this](RunRecord record, bool leave_auto_close) {
    settings_.input.auto_close_progress = leave_auto_close;
    FinishRun(std::move(record));
  };
  auto* dialog = new ProgressDialog(this, auto_close, std::move(handlers));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  if (!StartOrStop(*dialog)) {
    delete dialog;
    return;
  }
  dialog->show();
}

bool MainDialog::StartOrStop(ProgressDialog& dialog) {
  if (running()) {
    AskToStop();
    return true;
  }
  settings_.csv.enabled = c_.save_csv->isChecked();
  settings_.visualization.enabled = c_.save_visualization->isChecked();
  settings_.input.comparative_analysis = c_.comparative->isChecked();
  for (size_t i = 0; i < c_.components.size(); ++i) {
    if (c_.components[i]->isChecked()) settings_.request.component = static_cast<int32_t>(i);
  }
  InputState& state = settings_.input;
  for (InputFileEntry& entry : state.inputs) TrimTrailingSpaces(entry.path);
  const bool comparative = state.comparative_analysis;
  if (const auto refusal = StartRefusal(InputCount(), comparative, Paths())) {
    prompts_.ShowError(this, *refusal);
    return false;
  }
  ApplyMetricChoice();
  std::vector<InputFileEntry>& files = settings_.request.files;
  files.clear();
  std::string* const last_used[] = {&state.last_original, &state.last_first_processed, &state.last_second_processed};
  for (size_t i = 0; i < state.inputs.size(); ++i) {
    InputFileEntry& entry = state.inputs[i];
    if (entry.path.empty() || (i == 2 && !comparative)) continue;
    if (!CheckYuvEntry(entry, *last_used[i])) return false;
    files.push_back(entry);
  }
  c_.process->setText("Stop");
  LockControls(true);
  gate_ = std::make_unique<SemaphoreRunGate>();
  settings_.request.gate = gate_.get();
  progress_ = &dialog;
  thread_ = std::make_unique<MeasurementThread>(settings_, catalogue_, dialog, paths_.log_file, run_flag_);
  return true;
}

void MainDialog::AskToStop() {
  // The run waits at its next frame while the question is open; when it is between frames at this very moment the
  // gate is taken as soon as it lets go.
  const bool paused = gate_->TryPause();
  const bool stop = prompts_.AskYesNo(progress_, "Are you sure?");
  if (!paused) {
    if (stop) gate_->Stop();
    return;
  }
  if (stop) {
    gate_->StopWhilePaused();
  } else {
    gate_->Resume();
  }
}

void MainDialog::FinishRun(RunRecord record) {
  thread_.reset();
  progress_ = nullptr;
  settings_.request.gate = nullptr;
  gate_.reset();
  c_.process->setText("Process");
  UpdateReadiness();
  ResultsBundle bundle{record.store.get(), record.colour_matrix, {}, record.bad_frames};
  const auto& inputs = settings_.input.inputs;
  if (!inputs[0].path.empty()) bundle.inputs[0] = inputs[0];
  if (!inputs[1].path.empty()) bundle.inputs[1] = inputs[1];
  if (settings_.input.comparative_analysis) bundle.inputs[2] = inputs[2];
  if (c_.show_results->isChecked() && record.status.measurement == 2) emit resultsReady(bundle);
  LockControls(false);
}

void MainDialog::LockControls(bool lock) {
  if (lock) {
    lock_->Lock();
  } else {
    lock_->Unlock();
  }
}

void MainDialog::closeEvent(QCloseEvent* event) {
  if (running()) {
    event->ignore();
    return;
  }
  store_.SaveSettings(settings_);
  SaveCompressorSettings(paths_.codec_config, settings_.visualization.compressor);
  event->accept();
}

}  // namespace vidmetra::ui
