// libFuzzer entry for the settings file. Any text must parse without a throw or a read outside it; what parses
// must come back the same after being written out and parsed again, so that a save never changes a value; and the
// program's settings loaded from it must stay within what the program can use.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_input_file.h"
#include "vidmetra/registry_text.h"
#include "vidmetra/settings_store.h"

namespace {

// A catalogue like the built-in one: eight entries, two of which take a configuration.
class Catalogue : public vidmetra::MetricCatalogueView {
 public:
  int32_t Count() const override { return 8; }
  bool IsConfigurable(int32_t index) const override { return index == 2 || index == 5; }
  std::string DefaultConfiguration(int32_t index) const override { return std::to_string(index); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vidmetra::RegistryValues values = vidmetra::ParseRegistryText(text);
  if (vidmetra::ParseRegistryText(vidmetra::FormatRegistryText(values)) != values) std::abort();

  const std::filesystem::path location = vidmetra::fuzz::ScratchFolder() / "Vidmetra.reg";
  if (!vidmetra::fuzz::WriteFile(location, data, size)) return 0;
  static const Catalogue catalogue;
  vidmetra::MeasurementSettings settings;
  vidmetra::ResetMetricConfigurations(settings.input, catalogue);
  if (!vidmetra::SettingsStore(location).LoadSettings(settings, catalogue)) std::abort();
  const int32_t metric = settings.request.metric_index;
  if (metric < 0 || metric >= catalogue.Count() ||
      settings.input.metric_configurations.size() != static_cast<size_t>(catalogue.Count())) {
    std::abort();
  }
  return 0;
}
