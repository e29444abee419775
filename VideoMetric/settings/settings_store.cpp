#include "vidmetra/settings_store.h"

#include <cstdlib>

#include "vidmetra/program_folder.h"
#include "vidmetra/registry_key.h"
#include "vidmetra/status_text.h"
#include "vidmetra/user_folders.h"

namespace vidmetra {
namespace {

int32_t ReadInt(const RegistryKey& key, std::string_view name, int32_t fallback) {
  return static_cast<int32_t>(key.Dword(name).value_or(static_cast<uint32_t>(fallback)));
}

bool ReadFlag(const RegistryKey& key, std::string_view name, bool fallback) {
  return ReadInt(key, name, fallback ? 1 : 0) > 0;
}

std::string ReadText(const RegistryKey& key, std::string_view name, const std::string& fallback) {
  return key.Text(name, kTextCapacity).value_or(fallback);
}

void WriteInt(RegistryKey& key, std::string_view name, int32_t value) {
  key.SetDword(name, static_cast<uint32_t>(value));
}

void WriteFlag(RegistryKey& key, std::string_view name, bool value) { key.SetDword(name, value ? 1 : 0); }

void LoadNumbers(const RegistryKey& key, MeasurementSettings& settings, const MetricCatalogueView& catalogue) {
  int32_t& metric = settings.request.metric_index;
  metric = ReadInt(key, "metric", 0);
  if (metric < 0 || metric >= catalogue.Count()) metric = 0;
  settings.input.comparative_analysis = ReadFlag(key, "comp_analysis", false);
  settings.bad_frames.enabled = ReadFlag(key, "save_bad_frames", false);
  settings.bad_frames.count = ReadInt(key, "bad_frames_num", 0);
  settings.request.colour_matrix = ReadInt(key, "yuv_table", kRec601);
  settings.csv.enabled = ReadFlag(key, "save_csv", false);
  settings.visualization.enabled = ReadFlag(key, "save_vis_video", false);
  settings.csv.name_generation = ReadInt(key, "csv_name_gen", kNamePrefix);
  settings.csv.separator = ReadInt(key, "csv_separator", kCsvSemicolon);
  settings.csv.unicode = ReadFlag(key, "csv_unicode", false);
  settings.visualization.name_generation = ReadInt(key, "vis_name_gen", kNamePrefix);
  settings.bad_frames.radius = ReadInt(key, "rad", 0);
  settings.caption.position = ReadInt(key, "draw_pos", kTopLeft);
  settings.bad_frames.mode = ReadInt(key, "save_frames_type", 0);
  settings.caption.print_frame_number = ReadFlag(key, "draw_frame_number", false);
  settings.caption.print_metric_value = ReadFlag(key, "draw_metric_value", true);
  settings.show_report = ReadFlag(key, "show_report", true);
  settings.input.auto_close_progress = ReadFlag(key, "auto_close_progress", false);
  settings.caption.draw_caption = true;
  settings.caption.draw_background = true;
}

void LoadTexts(const RegistryKey& key, MeasurementSettings& settings, const MetricCatalogueView& catalogue) {
  const int32_t metric = settings.request.metric_index;
  std::vector<std::string>& configurations = settings.input.metric_configurations;
  const std::optional<std::string> configuration = key.Text("metric_settings", kTextCapacity);
  if (configuration && metric < catalogue.Count() && static_cast<size_t>(metric) < configurations.size() &&
      catalogue.IsConfigurable(metric)) {
    configurations[static_cast<size_t>(metric)] = *configuration;
  }
  const std::string program_folder = ProgramFolder();
  settings.csv.output_folder = ReadText(key, "csv_output_dir", program_folder);
  settings.csv.custom_name = ReadText(key, "csv_custom_name", "");
  settings.visualization.output_folder = ReadText(key, "vis_output_dir", program_folder);
  settings.bad_frames.output_folder = ReadText(key, "bad_frames_output_dir", program_folder);
  settings.input.wav_path = ReadText(key, "wav_path", "");
  settings.input.last_original = ReadText(key, "original", "");
  settings.input.last_first_processed = ReadText(key, "first_processed", "");
  settings.input.last_second_processed = ReadText(key, "second_processed", "");
}

void SaveNumbers(RegistryKey& key, const MeasurementSettings& settings) {
  WriteInt(key, "metric", settings.request.metric_index);
  WriteFlag(key, "comp_analysis", settings.input.comparative_analysis);
  WriteFlag(key, "save_bad_frames", settings.bad_frames.enabled);
  WriteInt(key, "bad_frames_num", settings.bad_frames.count);
  WriteInt(key, "yuv_table", settings.request.colour_matrix);
  WriteFlag(key, "save_csv", settings.csv.enabled);
  WriteFlag(key, "save_vis_video", settings.visualization.enabled);
  WriteInt(key, "csv_name_gen", settings.csv.name_generation);
  WriteInt(key, "csv_separator", settings.csv.separator);
  WriteFlag(key, "csv_unicode", settings.csv.unicode);
  WriteInt(key, "vis_name_gen", settings.visualization.name_generation);
  WriteInt(key, "rad", settings.bad_frames.radius);
  WriteInt(key, "draw_pos", settings.caption.position);
  WriteInt(key, "save_frames_type", settings.bad_frames.mode);
  WriteFlag(key, "draw_frame_number", settings.caption.print_frame_number);
  WriteFlag(key, "draw_metric_value", settings.caption.print_metric_value);
  WriteFlag(key, "show_report", settings.show_report);
  WriteFlag(key, "auto_close_progress", settings.input.auto_close_progress);
}

void SaveTexts(RegistryKey& key, const MeasurementSettings& settings) {
  const auto metric = static_cast<size_t>(settings.request.metric_index);
  const std::vector<std::string>& configurations = settings.input.metric_configurations;
  key.SetText("metric_settings", metric < configurations.size() ? configurations[metric] : std::string());
  key.SetText("csv_output_dir", settings.csv.output_folder);
  key.SetText("csv_custom_name", settings.csv.custom_name);
  key.SetText("vis_output_dir", settings.visualization.output_folder);
  key.SetText("bad_frames_output_dir", settings.bad_frames.output_folder);
  key.SetText("wav_path", settings.input.wav_path);
  key.SetText("original", settings.input.last_original);
  key.SetText("first_processed", settings.input.last_first_processed);
  key.SetText("second_processed", settings.input.last_second_processed);
}

}  // namespace

std::filesystem::path SettingsKeyLocation() {
  const char* overridden = std::getenv("VIDMETRA_SETTINGS_FILE");
  if (overridden != nullptr && *overridden != '\0') return overridden;
  const std::filesystem::path config = UserConfigFolder();
  if (config.empty()) return {};
  return config / "Zyr" / "Vidmetra.reg";
}

void ResetMetricConfigurations(InputState& input, const MetricCatalogueView& catalogue) {
  input.metric_configurations.clear();
  for (int32_t i = 0; i < catalogue.Count(); ++i) {
    input.metric_configurations.push_back(catalogue.DefaultConfiguration(i));
  }
}

bool SettingsStore::LoadSettings(MeasurementSettings& settings, const MetricCatalogueView& catalogue) const {
  RegistryKey key;
  if (!key.Open(location_)) return false;
  LoadNumbers(key, settings, catalogue);
  LoadTexts(key, settings, catalogue);
  return true;
}

bool SettingsStore::SaveSettings(const MeasurementSettings& settings) const {
  RegistryKey key;
  if (!key.Open(location_)) return false;
  SaveNumbers(key, settings);
  SaveTexts(key, settings);
  return key.Save();
}

}  // namespace vidmetra
