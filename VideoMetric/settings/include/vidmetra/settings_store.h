#pragma once
// Keeps the measurement settings between runs of the program in its settings key.
#include <filesystem>
#include <utility>

#include "vidmetra/measurement_settings.h"
#include "vidmetra/metric_catalogue_view.h"

namespace vidmetra {

// The file of the settings key: $VIDMETRA_SETTINGS_FILE when set (so that tests and portable setups never touch
// the user's own settings), otherwise Zyr/Vidmetra.reg in the user's configuration folder.
std::filesystem::path SettingsKeyLocation();

// Gives every catalogue entry its default configuration, as every start of the program does before loading.
void ResetMetricConfigurations(InputState& input, const MetricCatalogueView& catalogue);

class SettingsStore {
 public:
  explicit SettingsStore(std::filesystem::path location = SettingsKeyLocation()) : location_(std::move(location)) {}

  // A value that is missing, of another kind or too long takes its default; false, with `settings` untouched,
  // when the key can be neither read nor created.
  bool LoadSettings(MeasurementSettings& settings, const MetricCatalogueView& catalogue) const;
  // False when the key cannot be written; the program goes on regardless.
  bool SaveSettings(const MeasurementSettings& settings) const;

 private:
  std::filesystem::path location_;
};

}  // namespace vidmetra
