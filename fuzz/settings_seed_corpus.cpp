// Writes the seed corpus of the settings file fuzzer into the directory given as argument: the key as the program
// saves it, and texts with what other editors and damaged disks leave behind.
#include <string>
#include <vector>

#include "seed_corpus.h"
#include "support/byte_files.h"
#include "vidmetra/settings_store.h"

namespace {

class Catalogue : public vidmetra::MetricCatalogueView {
 public:
  int32_t Count() const override { return 8; }
  bool IsConfigurable(int32_t index) const override { return index == 2; }
  std::string DefaultConfiguration(int32_t index) const override { return "window=" + std::to_string(index); }
};

vidmetra::testing::NamedBytes Text(const std::string& name, const std::string& text) {
  return {name, std::vector<uint8_t>(text.begin(), text.end())};
}

}  // namespace

int main(int argc, char** argv) {
  const auto folder = vidmetra::fuzz::CorpusFolder(argc, argv);
  if (!folder) return 2;
  const Catalogue catalogue;
  vidmetra::MeasurementSettings settings;
  vidmetra::ResetMetricConfigurations(settings.input, catalogue);
  settings.request.metric_index = 2;
  settings.csv.output_folder = "/data/results \"quoted\"\tand tabbed";
  if (!vidmetra::SettingsStore(*folder / "saved.reg").SaveSettings(settings)) return 1;
  const std::vector<vidmetra::testing::NamedBytes> seeds = {
      Text("crlf_bom", "\xEF\xBB\xBFmetric=dword:3\r\ncsv_output_dir=sz:\"C:\\\\out\"\r\n"),
      Text("multi", "original=multi_sz:\"a.avi\",\"b.avi\"\nwav_path=sz:\"\\x07bell\\n\"\n"),
      Text("duplicates_and_case", "metric=dword:1\nMETRIC=dword:4\nsave_csv=dword:1\n"),
      Text("bad_numbers", "metric=dword:99999999999\nrad=dword:-5\nyuv_table=dword:x1\nbad_frames_num=dword:\n"),
      Text("unknown_and_comments", "# comment\n; other\nunknown=sz:\"x\"\nnoequals\n=dword:1\n"),
      Text("nul_in_line", std::string("metric=dword:2") + '\0' + "\nsave_csv=dword:1\n"),
      Text("unterminated", "csv_custom_name=sz:\"open\ncsv_separator=dword:1"),
  };
  vidmetra::fuzz::WriteSeeds(*folder, seeds, ".reg");
  return 0;
}
