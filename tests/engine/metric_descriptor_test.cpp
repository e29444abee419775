// Every built-in metric's descriptor says what the metric object itself reports, and the catalogue lists the
// built-ins from their descriptors alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/thread_starts.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/metric_catalogue.h"

namespace vidmetra {
namespace {

TEST(MetricDescriptor, EveryBuiltInReportsWhatItsDescriptorSays) {
  ASSERT_EQ(BuiltInMetrics().size(), 8u);
  for (const BuiltInMetric& built_in : BuiltInMetrics()) {
    const MetricDescriptor& descriptor = built_in.descriptor;
    SCOPED_TRACE(std::string(descriptor.name));
    for (const MetricParams params : {MetricParams{kComponentY, 64, 48}, MetricParams{kComponentU, 16, 8}}) {
      const std::unique_ptr<Metric> metric = built_in.create(params);
      ASSERT_NE(metric, nullptr);
      EXPECT_EQ(metric->GetName(), descriptor.name);
      EXPECT_EQ(metric->GetTitle(), descriptor.title);
      EXPECT_EQ(metric->GetUnits(), descriptor.units);
      EXPECT_EQ(metric->GetHelpAddress(), std::string(kHelpPage) + std::string(descriptor.name));
      EXPECT_EQ(metric->GetSupportedComponents(),
                std::vector<int32_t>(descriptor.components.begin(), descriptor.components.end()));
      EXPECT_EQ(metric->GetInputCount(false), descriptor.inputs_plain);
      EXPECT_EQ(metric->GetInputCount(true), descriptor.inputs_visualized);
      EXPECT_EQ(metric->IsHigherBetter(), descriptor.higher_is_better);
      EXPECT_EQ(metric->GetWidthMultiple(), descriptor.width_multiple);
      EXPECT_EQ(metric->GetHeightMultiple(), descriptor.height_multiple);
      EXPECT_EQ(metric->IsConfigurable(), descriptor.configurable);
      EXPECT_EQ(metric->GetConfiguration(), descriptor.default_configuration);
      EXPECT_EQ(CreateBuiltInMetric(built_in.kind, params)->GetName(), descriptor.name);
    }
  }
  EXPECT_EQ(CreateBuiltInMetric(kPluginKind, {0, 16, 16}), nullptr);
}

TEST(MetricDescriptor, CatalogueEntriesAreWhatTheMetricObjectsReport) {
  const MetricCatalogue catalogue("/nonexistent/plugins");
  ASSERT_EQ(catalogue.Count(), static_cast<int32_t>(BuiltInMetrics().size()));
  for (int32_t index = 0; index < catalogue.Count(); ++index) {
    const CatalogueEntry& entry = *catalogue.Entry(index);
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.kind, BuiltInMetrics()[static_cast<size_t>(index)].kind);
    const std::unique_ptr<Metric> metric = catalogue.CreateMetric(index, {kComponentY, 160, 160});
    ASSERT_NE(metric, nullptr);
    EXPECT_EQ(entry.name, metric->GetName());
    EXPECT_EQ(entry.title, metric->GetTitle());
    EXPECT_EQ(entry.help_address, metric->GetHelpAddress());
    EXPECT_EQ(entry.units, metric->GetUnits());
    EXPECT_EQ(entry.components, metric->GetSupportedComponents());
    EXPECT_EQ(entry.inputs_plain, metric->GetInputCount(false));
    EXPECT_EQ(entry.inputs_visualized, metric->GetInputCount(true));
    EXPECT_EQ(entry.higher_is_better, metric->IsHigherBetter());
    EXPECT_EQ(entry.configurable, metric->IsConfigurable());
    EXPECT_EQ(entry.default_configuration, metric->IsConfigurable() ? metric->GetConfiguration() : "");
    EXPECT_EQ(entry.module_path, "");
  }
}

TEST(MetricDescriptor, ListingTheCatalogueStartsNoThreadAndTakesNoResultId) {
  const int64_t threads = testing::ThreadsStarted();
  const int32_t next_id = ResultIdCounter();
  // The sample plug-in is asked as well: loading it to be asked takes no id either.
  const MetricCatalogue catalogue(std::filesystem::path(VIDMETRA_SAMPLE_PLUGIN).parent_path().string());
  EXPECT_GT(catalogue.Count(), 8);
  EXPECT_EQ(testing::ThreadsStarted(), threads);
  EXPECT_EQ(ResultIdCounter(), next_id);
  // The counter itself still counts: a measurement's metric takes the next id.
  const std::unique_ptr<Metric> metric = catalogue.CreateMetric(1, {kComponentY, 16, 16});
  EXPECT_EQ(metric->DescribeResults(false).at(0).id, next_id);
  EXPECT_EQ(testing::ThreadsStarted(), threads);  // metrics lend threads from a pool rather than start their own
}

}  // namespace
}  // namespace vidmetra
