#pragma once
// What the settings need to know about the metric catalogue.
#include <cstdint>
#include <string>

namespace vidmetra {

class MetricCatalogueView {
 public:
  virtual ~MetricCatalogueView() = default;
  virtual int32_t Count() const = 0;
  virtual bool IsConfigurable(int32_t index) const = 0;
  virtual std::string DefaultConfiguration(int32_t index) const = 0;
};

}  // namespace vidmetra
