#include "cli_options.h"

#include <gtest/gtest.h>

#include "vidmetra/colour_component.h"

namespace vidmetra::cli {
namespace {

const MetricCatalogue& Catalogue() {
  static const MetricCatalogue catalogue("/nonexistent/plugins");
  return catalogue;
}

TEST(CliOptions, SizesAndRawEntries) {
  EXPECT_EQ(ParseSize("352x288"), std::make_pair(352, 288));
  EXPECT_EQ(ParseSize("16X8"), std::make_pair(16, 8));
  for (const char* bad : {"352", "x288", "352x", "0x10", "-2x4", "3.5x4", "10x10x"}) EXPECT_FALSE(ParseSize(bad)) << bad;

  CliOptions options;
  options.positional = {"a.yuv", "b.SEQ", "c.avi"};
  options.size = "32x16";
  MeasurementSettings settings;
  ASSERT_FALSE(BuildSettings(options, Catalogue(), settings));
  const std::vector<InputFileEntry>& files = settings.request.files;
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0], (InputFileEntry{"a.yuv", 32, 16, kYv12}));
  EXPECT_EQ(files[1], (InputFileEntry{"b.SEQ", 32, 16, kIyuv}));  // sequences are always I420
  EXPECT_EQ(files[2], (InputFileEntry{"c.avi", 0, 0, 0}));

  // Files that carry their own size take none from the command line.
  options.positional = {"a.avi", "b.AVS", "c.bmp"};
  settings = MeasurementSettings{};
  EXPECT_EQ(BuildSettings(options, Catalogue(), settings), "--size and --format apply to raw inputs only, and no input is raw");
  options.size.reset();
  options.format = "iyuv";
  EXPECT_TRUE(BuildSettings(options, Catalogue(), settings));
  options.format.reset();
  EXPECT_FALSE(BuildSettings(options, Catalogue(), settings));
}

TEST(CliOptions, ReferenceFirstThenProcessedFiles) {
  CliOptions options;
  options.references = {"orig.avi"};
  options.distorted = {"d1.avi"};
  options.positional = {"d2.avi"};
  MeasurementSettings settings;
  ASSERT_FALSE(BuildSettings(options, Catalogue(), settings));
  ASSERT_EQ(settings.request.files.size(), 3u);
  EXPECT_EQ(settings.request.files[0].path, "orig.avi");
  EXPECT_EQ(settings.request.files[2].path, "d2.avi");
}

TEST(CliOptions, MetricComponentMatrixAndCsv) {
  CliOptions options;
  options.positional = {"a.avi", "b.avi"};
  options.metric = "mse";
  options.component = "l";
  options.matrix = "PC601";
  options.csv_folder = "out";
  options.csv_name = "postfix";
  options.csv_separator = "semicolon";
  MeasurementSettings settings;
  ASSERT_FALSE(BuildSettings(options, Catalogue(), settings));
  EXPECT_EQ(settings.request.metric_index, *Catalogue().FindByName("mse"));
  EXPECT_EQ(settings.request.component, 3);
  EXPECT_EQ(settings.request.colour_matrix, kPc601);
  EXPECT_TRUE(settings.csv.enabled);
  EXPECT_EQ(settings.csv.name_generation, kNamePostfix);
  EXPECT_EQ(settings.csv.separator, kCsvSemicolon);
  EXPECT_EQ(settings.input.metric_configurations.size(), static_cast<size_t>(Catalogue().Count()));

  options.metric = "ssim";
  options.component.reset();
  ASSERT_FALSE(BuildSettings(options, Catalogue(), settings));
  EXPECT_EQ(settings.request.component, 0);  // the metric's first component
  options.component = "U";
  EXPECT_EQ(*BuildSettings(options, Catalogue(), settings), "SSIM does not measure the UYUV component");
}

TEST(CliOptions, MetricListTakesComponentsPerEntryAndTheDefaultForTheRest) {
  CliOptions options;
  options.positional = {"a.avi", "b.avi"};
  options.metric = "psnr:v,ssim,mse,Psnr:Y";
  options.component = "U";
  MeasurementSettings settings;
  EXPECT_EQ(*BuildSettings(options, Catalogue(), settings), "--metric entry 'ssim': SSIM does not measure the UYUV component");
  options.metric = "psnr:v,ssim:y,mse";
  ASSERT_FALSE(BuildSettings(options, Catalogue(), settings));
  const int32_t psnr = *Catalogue().FindByName("psnr");
  EXPECT_EQ(settings.request.metric_index, psnr);
  EXPECT_EQ(settings.request.component, kComponentV);
  EXPECT_EQ(settings.request.further_metrics,
            (std::vector<MetricChoice>{{*Catalogue().FindByName("ssim"), kComponentY, {}},
                                       {*Catalogue().FindByName("mse"), kComponentU, {}}}));

  options.metric = "all";
  options.component.reset();
  ASSERT_FALSE(BuildSettings(options, Catalogue(), settings));
  EXPECT_EQ(settings.request.further_metrics.size() + 1, 8u);  // every built-in once, on its first component
  EXPECT_EQ(settings.request.metric_index, 0);
  options.metric = "psnr";
  ASSERT_FALSE(BuildSettings(options, Catalogue(), settings));
  EXPECT_TRUE(settings.request.further_metrics.empty());
}

TEST(CliOptions, SingleInputMetricsTakeOneFile) {
  CliOptions options;
  options.positional = {"only.avi"};
  options.metric = "blocking_measure";
  MeasurementSettings settings;
  EXPECT_FALSE(BuildSettings(options, Catalogue(), settings));
  options.metric = "psnr";
  EXPECT_TRUE(BuildSettings(options, Catalogue(), settings));
}

}  // namespace
}  // namespace vidmetra::cli
