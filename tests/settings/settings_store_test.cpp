#include "vidmetra/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/byte_files.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "vidmetra/metric_catalogue.h"
#include "vidmetra/program_folder.h"
#include "vidmetra/registry_key.h"

namespace vidmetra {
namespace {

using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteText;

// Eight entries like the built-in catalogue; entries 2 and 5 take a configuration.
class FakeCatalogue : public MetricCatalogueView {
 public:
  int32_t Count() const override { return 8; }
  bool IsConfigurable(int32_t index) const override { return index == 2 || index == 5; }
  std::string DefaultConfiguration(int32_t index) const override { return "default " + std::to_string(index); }
};

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() { ResetMetricConfigurations(settings_.input, catalogue_); }

  std::filesystem::path Location() const { return dir_.path() / "Zyr" / "Vidmetra.reg"; }

  bool LoadFrom(const std::string& text) {
    std::filesystem::create_directories(Location().parent_path());
    WriteText(Location().string(), text);
    return SettingsStore(Location()).LoadSettings(settings_, catalogue_);
  }

  TempDir dir_;
  FakeCatalogue catalogue_;
  MeasurementSettings settings_;
};

TEST_F(SettingsStoreTest, FreshObjectHoldsTheInitialValues) {
  const MeasurementSettings fresh;
  EXPECT_EQ(fresh.csv.separator, kCsvComma);
  EXPECT_EQ(fresh.csv.name_generation, kNamePrefix);
  EXPECT_FALSE(fresh.csv.enabled);
  EXPECT_TRUE(fresh.caption.draw_caption);
  EXPECT_TRUE(fresh.caption.draw_background);
  EXPECT_TRUE(fresh.caption.print_metric_value);
  EXPECT_TRUE(fresh.caption.print_frame_number);
  EXPECT_FALSE(fresh.show_report);
  EXPECT_FALSE(fresh.input.play_wav);
  EXPECT_EQ(fresh.input.inputs[0], InputFileEntry{});
  EXPECT_EQ(fresh.bad_frames.count, 0);
  EXPECT_TRUE(fresh.csv.output_folder.empty());
}

TEST_F(SettingsStoreTest, ConfigurationsStartFromTheCatalogueDefaults) {
  ASSERT_EQ(settings_.input.metric_configurations.size(), 8u);
  EXPECT_EQ(settings_.input.metric_configurations[5], "default 5");
}

TEST_F(SettingsStoreTest, FirstStartTakesTheTableDefaults) {
  ASSERT_TRUE(SettingsStore(Location()).LoadSettings(settings_, catalogue_));
  EXPECT_EQ(settings_.request.metric_index, 0);
  EXPECT_FALSE(settings_.input.comparative_analysis);
  EXPECT_FALSE(settings_.csv.enabled);
  EXPECT_FALSE(settings_.visualization.enabled);
  EXPECT_FALSE(settings_.bad_frames.enabled);
  EXPECT_EQ(settings_.csv.separator, kCsvSemicolon);
  EXPECT_FALSE(settings_.caption.print_frame_number);
  EXPECT_TRUE(settings_.caption.print_metric_value);
  EXPECT_TRUE(settings_.show_report);
  EXPECT_FALSE(settings_.input.auto_close_progress);
  const std::string program_folder = ProgramFolder();
  ASSERT_FALSE(program_folder.empty());
  EXPECT_EQ(settings_.csv.output_folder, program_folder);
  EXPECT_EQ(settings_.visualization.output_folder, program_folder);
  EXPECT_EQ(settings_.bad_frames.output_folder, program_folder);
  EXPECT_TRUE(settings_.csv.custom_name.empty());
  EXPECT_TRUE(settings_.input.wav_path.empty());
  EXPECT_TRUE(settings_.input.last_original.empty());
  EXPECT_TRUE(settings_.input.last_first_processed.empty());
  EXPECT_TRUE(settings_.input.last_second_processed.empty());
  EXPECT_EQ(settings_.input.metric_configurations[2], "default 2");
}

TEST_F(SettingsStoreTest, UnreadableKeyLeavesEverythingAsItWas) {
  std::filesystem::create_directories(Location());  // a folder where the key should be
  ASSERT_FALSE(SettingsStore(Location()).LoadSettings(settings_, catalogue_));
  EXPECT_EQ(settings_.csv.separator, kCsvComma);
  EXPECT_TRUE(settings_.csv.output_folder.empty());
  EXPECT_FALSE(settings_.show_report);
}

TEST_F(SettingsStoreTest, MetricIndexOutsideTheCatalogueSelectsTheFirst) {
  ASSERT_TRUE(LoadFrom("metric=dword:12\n"));
  EXPECT_EQ(settings_.request.metric_index, 0);
  ASSERT_TRUE(LoadFrom("metric=dword:-1\n"));
  EXPECT_EQ(settings_.request.metric_index, 0);
  ASSERT_TRUE(LoadFrom("metric=dword:8\n"));
  EXPECT_EQ(settings_.request.metric_index, 0);
  ASSERT_TRUE(LoadFrom("metric=dword:7\n"));
  EXPECT_EQ(settings_.request.metric_index, 7);
}

TEST_F(SettingsStoreTest, NumbersAreTakenAsStoredAndFlagsWhenPositive) {
  ASSERT_TRUE(LoadFrom(
      "bad_frames_num=dword:0\nrad=dword:4294967295\ncsv_separator=dword:1\nsave_csv=dword:2\n"
      "save_vis_video=dword:4294967295\ndraw_metric_value=dword:0\nshow_report=dword:0\n"));
  EXPECT_EQ(settings_.bad_frames.count, 0);
  EXPECT_EQ(settings_.bad_frames.radius, -1);
  EXPECT_EQ(settings_.csv.separator, kCsvComma);
  EXPECT_TRUE(settings_.csv.enabled);
  EXPECT_FALSE(settings_.visualization.enabled);  // negative as a signed number
  EXPECT_FALSE(settings_.caption.print_metric_value);
  EXPECT_FALSE(settings_.show_report);
}

TEST_F(SettingsStoreTest, AlwaysTrueCaptionFlagsAreSetAgain) {
  settings_.caption.draw_caption = false;
  settings_.caption.draw_background = false;
  ASSERT_TRUE(LoadFrom(""));
  EXPECT_TRUE(settings_.caption.draw_caption);
  EXPECT_TRUE(settings_.caption.draw_background);
}

TEST_F(SettingsStoreTest, LongTextsCountAsMissing) {
  const std::string folder200 = "/" + std::string(199, 'f');
  const std::string folder259 = "/" + std::string(258, 'g');
  const std::string folder260 = "/" + std::string(259, 'h');
  ASSERT_TRUE(LoadFrom("csv_output_dir=sz:\"" + folder200 + "\"\nvis_output_dir=sz:\"" + folder259 +
                       "\"\nbad_frames_output_dir=sz:\"" + folder260 + "\"\noriginal=sz:\"" +
                       std::string(300, 'o') + "\"\n"));
  EXPECT_EQ(settings_.csv.output_folder, folder200);
  EXPECT_EQ(settings_.visualization.output_folder, folder259);
  EXPECT_EQ(settings_.bad_frames.output_folder, ProgramFolder());
  EXPECT_TRUE(settings_.input.last_original.empty());
}

TEST_F(SettingsStoreTest, MetricSettingsOnlyForAConfigurableMetric) {
  ASSERT_TRUE(LoadFrom("metric=dword:3\nmetric_settings=sz:\"stored\"\n"));
  EXPECT_EQ(settings_.request.metric_index, 3);
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(settings_.input.metric_configurations[static_cast<size_t>(i)], "default " + std::to_string(i));
  }
  ASSERT_TRUE(LoadFrom("metric=dword:5\nmetric_settings=sz:\"stored\"\n"));
  EXPECT_EQ(settings_.input.metric_configurations[5], "stored");
  EXPECT_EQ(settings_.input.metric_configurations[2], "default 2");
  // Applied after the index check: an index out of range falls to entry 0, which takes no configuration.
  ResetMetricConfigurations(settings_.input, catalogue_);
  ASSERT_TRUE(LoadFrom("metric=dword:40\nmetric_settings=sz:\"stored\"\n"));
  EXPECT_EQ(settings_.input.metric_configurations[0], "default 0");
}

TEST_F(SettingsStoreTest, ValuesOfAnotherKindTakeTheirDefaults) {
  ASSERT_TRUE(LoadFrom(
      "save_csv=sz:\"1\"\nshow_report=sz:\"0\"\ncsv_output_dir=dword:5\nwav_path=multi_sz:\"a.wav\",\"b.wav\"\n"
      "csv_separator=multi_sz:\"1\"\n"));
  EXPECT_FALSE(settings_.csv.enabled);
  EXPECT_TRUE(settings_.show_report);
  EXPECT_EQ(settings_.csv.output_folder, ProgramFolder());
  EXPECT_EQ(settings_.input.wav_path, "a.wav");  // a multi-string value is read as a text
  EXPECT_EQ(settings_.csv.separator, kCsvSemicolon);
}

TEST_F(SettingsStoreTest, CorruptFilesLoadWhatIsSound) {
  const std::string text = std::string("\xEF\xBB\xBF") + "save_csv=dword:1\r\n" + "rad=dword:99999999999\r\n" +
                           "draw_pos=dword:two\r\n" + std::string("csv_unicode=dword:1\0garbage\r\n", 29) +
                           "\x01\x02\xFF\xFE binary junk\r\n" + "csv_custom_name=sz:\"name\r\n" +
                           "wav_path=sz:\"sound.wav\"\r\n" + "comp_analysis=dword:1\r\n" + "auto_close_progress=dwo";
  ASSERT_TRUE(LoadFrom(text));
  EXPECT_TRUE(settings_.csv.enabled);
  EXPECT_EQ(settings_.bad_frames.radius, 0);
  EXPECT_EQ(settings_.caption.position, kTopLeft);
  EXPECT_FALSE(settings_.csv.unicode);
  EXPECT_TRUE(settings_.csv.custom_name.empty());
  EXPECT_EQ(settings_.input.wav_path, "sound.wav");
  EXPECT_TRUE(settings_.input.comparative_analysis);
  EXPECT_FALSE(settings_.input.auto_close_progress);
}

MeasurementSettings EveryValueChanged() {
  MeasurementSettings s;
  s.request.metric_index = 5;
  s.input.comparative_analysis = true;
  s.bad_frames.enabled = true;
  s.bad_frames.count = 17;
  s.request.colour_matrix = kPc601;
  s.csv.enabled = true;
  s.visualization.enabled = true;
  s.csv.name_generation = kNameCustom;
  s.csv.separator = kCsvComma;
  s.csv.unicode = true;
  s.visualization.name_generation = kNamePostfix;
  s.bad_frames.radius = 250;
  s.caption.position = kBottomRight;
  s.bad_frames.mode = 3;
  s.caption.print_frame_number = true;
  s.caption.print_metric_value = false;
  s.show_report = false;
  s.input.auto_close_progress = true;
  s.input.metric_configurations = {"c0", "c1", "c2", "c3", "c4", "window=\"8\"\nstep=4", "c6", "c7"};
  s.csv.output_folder = "/data/csv/";
  s.csv.custom_name = "run \"one\"";
  s.visualization.output_folder = "/data/vis\\";
  s.bad_frames.output_folder = "/data/bad \xE2\x82\xAC/";
  s.input.wav_path = "/sounds/done.wav";
  s.input.last_original = "/clips/orig.yuv";
  s.input.last_first_processed = "/clips/first.avi";
  s.input.last_second_processed = "/clips/second.bmp";
  return s;
}

TEST_F(SettingsStoreTest, EveryValueSurvivesSaveAndLoad) {
  const MeasurementSettings saved = EveryValueChanged();
  ASSERT_TRUE(SettingsStore(Location()).SaveSettings(saved));

  RegistryKey key;
  ASSERT_TRUE(key.Open(Location()));
  EXPECT_EQ(key.values().size(), 27u);
  EXPECT_EQ(key.Dword("draw_frame_number"), 1u);
  EXPECT_EQ(key.Dword("draw_metric_value"), 0u);
  EXPECT_EQ(key.Text("metric_settings", 260), "window=\"8\"\nstep=4");

  ASSERT_TRUE(SettingsStore(Location()).LoadSettings(settings_, catalogue_));
  const MeasurementSettings& s = settings_;
  EXPECT_EQ(s.request.metric_index, saved.request.metric_index);
  EXPECT_EQ(s.input.comparative_analysis, saved.input.comparative_analysis);
  EXPECT_EQ(s.bad_frames.enabled, saved.bad_frames.enabled);
  EXPECT_EQ(s.bad_frames.count, saved.bad_frames.count);
  EXPECT_EQ(s.request.colour_matrix, saved.request.colour_matrix);
  EXPECT_EQ(s.csv.enabled, saved.csv.enabled);
  EXPECT_EQ(s.visualization.enabled, saved.visualization.enabled);
  EXPECT_EQ(s.csv.name_generation, saved.csv.name_generation);
  EXPECT_EQ(s.csv.separator, saved.csv.separator);
  EXPECT_EQ(s.csv.unicode, saved.csv.unicode);
  EXPECT_EQ(s.visualization.name_generation, saved.visualization.name_generation);
  EXPECT_EQ(s.bad_frames.radius, saved.bad_frames.radius);
  EXPECT_EQ(s.caption.position, saved.caption.position);
  EXPECT_EQ(s.bad_frames.mode, saved.bad_frames.mode);
  EXPECT_EQ(s.caption.print_frame_number, saved.caption.print_frame_number);
  EXPECT_EQ(s.caption.print_metric_value, saved.caption.print_metric_value);
  EXPECT_EQ(s.show_report, saved.show_report);
  EXPECT_EQ(s.input.auto_close_progress, saved.input.auto_close_progress);
  EXPECT_EQ(s.input.metric_configurations[5], saved.input.metric_configurations[5]);
  EXPECT_EQ(s.input.metric_configurations[6], "default 6");  // only the selected metric's is kept
  EXPECT_EQ(s.csv.output_folder, saved.csv.output_folder);
  EXPECT_EQ(s.csv.custom_name, saved.csv.custom_name);
  EXPECT_EQ(s.visualization.output_folder, saved.visualization.output_folder);
  EXPECT_EQ(s.bad_frames.output_folder, saved.bad_frames.output_folder);
  EXPECT_EQ(s.input.wav_path, saved.input.wav_path);
  EXPECT_EQ(s.input.last_original, saved.input.last_original);
  EXPECT_EQ(s.input.last_first_processed, saved.input.last_first_processed);
  EXPECT_EQ(s.input.last_second_processed, saved.input.last_second_processed);
}

TEST_F(SettingsStoreTest, SavingKeepsForeignValues) {
  std::filesystem::create_directories(Location().parent_path());
  WriteText(Location().string(), "window_left=dword:40\n");
  ASSERT_TRUE(SettingsStore(Location()).SaveSettings(settings_));
  RegistryKey key;
  ASSERT_TRUE(key.Open(Location()));
  EXPECT_EQ(key.Dword("window_left"), 40u);
  EXPECT_EQ(key.values().size(), 28u);
}

TEST_F(SettingsStoreTest, UnwritableLocationFailsTheSave) {
  const std::string blocker = dir_.File("not-a-folder");
  WriteText(blocker, "");
  EXPECT_FALSE(SettingsStore(std::filesystem::path(blocker) / "Vidmetra.reg").SaveSettings(settings_));
  EXPECT_FALSE(SettingsStore(dir_.path()).SaveSettings(settings_));
}

TEST_F(SettingsStoreTest, TheMetricCatalogueSuppliesConfigurations) {
  const std::filesystem::path plugins = dir_.path() / "plugins";
  std::filesystem::create_directory(plugins);
  std::filesystem::copy_file(VIDMETRA_SAMPLE_PLUGIN, plugins / "sample.vmp");
  const MetricCatalogue catalogue(plugins.string());
  const int32_t sample = *catalogue.FindByName("max_difference");
  MeasurementSettings settings;
  ResetMetricConfigurations(settings.input, catalogue);
  ASSERT_EQ(settings.input.metric_configurations.size(), static_cast<size_t>(catalogue.Count()));
  EXPECT_EQ(settings.input.metric_configurations[static_cast<size_t>(sample)], "threshold=10");

  std::filesystem::create_directories(Location().parent_path());
  WriteText(Location().string(), "metric=dword:" + std::to_string(sample) + "\nmetric_settings=sz:\"threshold=25\"\n");
  ASSERT_TRUE(SettingsStore(Location()).LoadSettings(settings, catalogue));
  EXPECT_EQ(settings.request.metric_index, sample);
  EXPECT_EQ(settings.input.metric_configurations[static_cast<size_t>(sample)], "threshold=25");
  // PSNR takes no configuration, so a stored one is ignored.
  WriteText(Location().string(), "metric=dword:0\nmetric_settings=sz:\"threshold=25\"\n");
  ResetMetricConfigurations(settings.input, catalogue);
  ASSERT_TRUE(SettingsStore(Location()).LoadSettings(settings, catalogue));
  EXPECT_EQ(settings.input.metric_configurations[0], "");
}

TEST(SettingsKeyLocation, OverriddenThenBesideTheUserConfiguration) {
  {
    ScopedEnv file("VIDMETRA_SETTINGS_FILE", "/tmp/elsewhere.reg");
    EXPECT_EQ(SettingsKeyLocation(), std::filesystem::path("/tmp/elsewhere.reg"));
  }
  ScopedEnv no_file("VIDMETRA_SETTINGS_FILE", std::nullopt);
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/xdg/config");
    EXPECT_EQ(SettingsKeyLocation(), std::filesystem::path("/xdg/config/Zyr/Vidmetra.reg"));
  }
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
  ScopedEnv home("HOME", "/home/someone");
  EXPECT_EQ(SettingsKeyLocation(), std::filesystem::path("/home/someone/.config/Zyr/Vidmetra.reg"));
  ScopedEnv no_home("HOME", std::nullopt);
  EXPECT_TRUE(SettingsKeyLocation().empty());
}

}  // namespace
}  // namespace vidmetra
