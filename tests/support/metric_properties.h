#pragma once
// The descriptive properties every metric reports, checked in one go.
#include <string>
#include <vector>

#include "vidmetra/metric.h"

namespace vidmetra::testing {

struct ExpectedProperties {
  std::string name;
  std::string title;
  bool higher_is_better;
  int32_t inputs_plain;
  int32_t inputs_visualized;
  int32_t size_multiple;  // width and height alike
  std::vector<int32_t> components;
};

// Also checks the units (empty) and that the help address is the anchor named after the metric.
void ExpectProperties(Metric& metric, const ExpectedProperties& expected);

}  // namespace vidmetra::testing
