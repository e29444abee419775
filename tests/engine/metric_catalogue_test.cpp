#include "vidmetra/metric_catalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/driver_fakes.h"
#include "support/plane_frames.h"
#include "support/temp_dir.h"

namespace vidmetra {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

std::vector<std::string> Names(const MetricCatalogue& catalogue) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < catalogue.Count(); ++i) names.push_back(catalogue.Entry(i)->name);
  return names;
}

std::string TestPlugin(const std::string& variant) { return std::string(VIDMETRA_TEST_PLUGIN_DIR) + "/" + variant + ".vmp"; }

class PluginFolder : public ::testing::Test {
 protected:
  PluginFolder() : folder_(dir_.path() / "plugins") {
    fs::create_directory(folder_);
    std::ofstream(folder_ / "a_not_a_module.vmp") << "MZ this is text, not a module";
    fs::copy_file(TestPlugin("greedy"), folder_ / "b_greedy.vmp");
    fs::copy_file(TestPlugin("null_object"), folder_ / "c_null.vmp");
    fs::copy_file(TestPlugin("no_create"), folder_ / "d_no_create.vmp");
    fs::copy_file(VIDMETRA_SAMPLE_PLUGIN, folder_ / "e_sample.VMP");
    fs::copy_file(VIDMETRA_SAMPLE_PLUGIN, folder_ / "f_sample.so");
  }
  testing::TempDir dir_;
  fs::path folder_;
};

TEST(MetricCatalogue, BuiltInsComeFirstInTheirOrderAndNoFolderIsCreated) {
  testing::TempDir dir;
  const fs::path folder = dir.path() / "plugins";
  const MetricCatalogue catalogue(folder.string());
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_THAT(Names(catalogue), ElementsAre("psnr", "ssim", "vqm", "blocking_measure", "blurring_measure", "delta",
                                            "msad", "mse"));
  const CatalogueEntry& psnr = *catalogue.Entry(0);
  EXPECT_EQ(psnr.kind, kPsnrKind);
  EXPECT_EQ(psnr.title, "PSNR");
  EXPECT_EQ(psnr.units, "dB");
  EXPECT_THAT(psnr.components, ElementsAre(0, 1, 2, 4, 5, 6, 3));
  EXPECT_EQ(psnr.inputs_plain, 2);
  EXPECT_EQ(psnr.inputs_visualized, 2);
  EXPECT_TRUE(psnr.higher_is_better);
  EXPECT_FALSE(psnr.configurable);
  EXPECT_EQ(psnr.module_path, "");
  const CatalogueEntry& blurring = *catalogue.Entry(4);
  EXPECT_EQ(blurring.kind, kBlurringKind);
  EXPECT_EQ(blurring.inputs_plain, 1);
  EXPECT_EQ(blurring.inputs_visualized, 2);
  EXPECT_THAT(blurring.components, ElementsAre(0, 1, 2));
  EXPECT_EQ(catalogue.Entry(3)->title, "Zyr Blocking (MPEG-4) BETA");
}

TEST(MetricCatalogue, LookupsAndBadIndices) {
  const MetricCatalogue catalogue("/nonexistent/plugins");
  EXPECT_EQ(catalogue.FindByName("psnr"), 0);
  EXPECT_FALSE(catalogue.FindByName("PSNR").has_value());
  EXPECT_EQ(catalogue.Entry(-1), nullptr);
  EXPECT_EQ(catalogue.Entry(catalogue.Count()), nullptr);
  EXPECT_EQ(catalogue.InputCount(catalogue.Count(), false), 0);
  EXPECT_EQ(catalogue.Title(-3), "");
  EXPECT_EQ(catalogue.CreateMetric(99, {0, 16, 16}), nullptr);
  std::unique_ptr<Metric> first = catalogue.CreateMetric(0, {0, 16, 16});
  std::unique_ptr<Metric> second = catalogue.CreateMetric(0, {0, 16, 16});
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->DescribeResults(false)[0].id, second->DescribeResults(false)[0].id);
}

TEST_F(PluginFolder, UsablePluginsAreListedAfterTheBuiltInsAndTheRestSkipped) {
  const MetricCatalogue catalogue(folder_.string());
  const std::vector<std::string> names = Names(catalogue);
  ASSERT_EQ(names.size(), 10u);
  EXPECT_EQ(names[8], "greedy");
  EXPECT_EQ(names.back(), "max_difference");
  const CatalogueEntry& sample = *catalogue.Entry(catalogue.Count() - 1);
  EXPECT_EQ(sample.kind, kPluginKind);
  EXPECT_EQ(sample.module_path, (folder_ / "e_sample.VMP").string());
  EXPECT_TRUE(sample.configurable);
  EXPECT_EQ(sample.default_configuration, "threshold=10");
  EXPECT_EQ(sample.title, "Max difference");
}

TEST_F(PluginFolder, EverythingAPluginReturnsIsCappedToTheHostsBuffers) {
  const MetricCatalogue catalogue(folder_.string());
  const int32_t index = *catalogue.FindByName("greedy");
  const CatalogueEntry& greedy = *catalogue.Entry(index);
  EXPECT_EQ(greedy.title, std::string(259, 'T'));
  EXPECT_EQ(greedy.components.size(), 10u);
  // Capacities 260, 520, 1040, 2080 fail; 4160 is the fifth call and holds the 3000 characters.
  EXPECT_EQ(greedy.default_configuration.size(), 3000u);
  EXPECT_EQ(greedy.default_configuration.substr(0, 6), "call 5");

  std::unique_ptr<Metric> metric = catalogue.CreateMetric(index, {0, 4, 4});
  ASSERT_NE(metric, nullptr);
  const ResultDescriptors descriptors = metric->DescribeResults(false);
  ASSERT_EQ(descriptors.size(), 10u);
  for (const ResultDescriptor& descriptor : descriptors) {
    EXPECT_EQ(descriptor.inputs.size(), 9u);
    EXPECT_EQ(descriptor.name, std::string(259, 'n'));
  }
  auto frame = testing::MakeFlatPlanes(4, 4, 7);
  PlaneFrame* frames[] = {frame.get(), frame.get()};
  const FrameResult result = metric->Measure(frames);
  ASSERT_EQ(result.size(), 10u);
  EXPECT_EQ(result[9].value, 16.0f);  // the plug-in read the host's plane through its own view
  EXPECT_TRUE(metric->GetAverageResult(false).empty());
  EXPECT_TRUE(metric->SetConfiguration("ok"));
  EXPECT_FALSE(metric->SetConfiguration("no"));
}

TEST_F(PluginFolder, SamplePluginMeasuresEndToEnd) {
  const MetricCatalogue catalogue(folder_.string());
  testing::DriverHarness h;
  h.request.metric_index = *catalogue.FindByName("max_difference");
  h.request.configuration = "threshold=2";
  h.AddFile("orig.yuv", {16, 16, {10, 20, 30}, -1});
  h.AddFile("enc.yuv", {16, 16, {13, 20, 31}, -1});
  ASSERT_TRUE(RunMeasurement(h.request, h.store, h.status, {&catalogue, &h.preparer, &h.opener, nullptr}));
  EXPECT_EQ(h.status, (RunStatus{2, 2}));
  EXPECT_TRUE(h.log.Contains("Loaded Max difference"));
  EXPECT_TRUE(h.log.Contains("Configured metric with string threshold=2"));
  const std::vector<int32_t> ids = h.store.SeriesIds();
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(h.store.Series(ids[1])->name, "Share above threshold");
  std::vector<float> largest, share;
  for (const FrameValue& v : h.store.Values(ids[0])) largest.push_back(v.value);
  for (const FrameValue& v : h.store.Values(ids[1])) share.push_back(v.value);
  EXPECT_THAT(largest, ElementsAre(3.0f, 0.0f, 1.0f));
  EXPECT_THAT(share, ElementsAre(100.0f, 0.0f, 0.0f));
  EXPECT_FLOAT_EQ(*h.store.Average(ids[0]), 4.0f / 3.0f);
}

TEST_F(PluginFolder, APluginThatCannotBeLoadedAgainFailsToCreate) {
  const MetricCatalogue catalogue(folder_.string());
  const int32_t index = *catalogue.FindByName("max_difference");
  fs::remove(folder_ / "e_sample.VMP");
  EXPECT_EQ(catalogue.CreateMetric(index, {0, 16, 16}), nullptr);
}

}  // namespace
}  // namespace vidmetra
