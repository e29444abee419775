#include "support/metric_properties.h"

#include <gtest/gtest.h>

namespace vidmetra::testing {

void ExpectProperties(Metric& metric, const ExpectedProperties& expected) {
  EXPECT_EQ(metric.GetName(), expected.name);
  EXPECT_EQ(metric.GetTitle(), expected.title);
  EXPECT_EQ(metric.GetUnits(), "");
  EXPECT_EQ(metric.IsHigherBetter(), expected.higher_is_better);
  EXPECT_EQ(metric.GetInputCount(false), expected.inputs_plain);
  EXPECT_EQ(metric.GetInputCount(true), expected.inputs_visualized);
  EXPECT_EQ(metric.GetWidthMultiple(), expected.size_multiple);
  EXPECT_EQ(metric.GetHeightMultiple(), expected.size_multiple);
  EXPECT_EQ(metric.GetSupportedComponents(), expected.components);
  const std::string address = metric.GetHelpAddress();
  EXPECT_EQ(address.substr(address.find('#') + 1), expected.name);
}

}  // namespace vidmetra::testing
