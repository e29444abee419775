#pragma once
// The one list of the metrics the program offers: the built-ins, then every usable plug-in of the plug-in
// folder. An entry's index is the metric index everywhere else (request, settings, result series).
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "vidmetra/measurement_driver.h"
#include "vidmetra/metric_catalogue_view.h"
#include "vidmetra/metric_descriptor.h"

namespace vidmetra {

enum MetricKind : int32_t {
  kBlockingKind = 0,
  kBlurringKind = 1,
  kDeltaKind = 2,
  kMsadKind = 3,
  kMseKind = 4,
  kPsnrKind = 5,
  kSsimKind = 6,
  kVqmKind = 7,
  kPluginKind = 8,
};

struct CatalogueEntry {
  int32_t kind = kPluginKind;
  std::string name;
  std::string title;
  std::string help_address;
  std::string units;
  std::vector<int32_t> components;
  int32_t inputs_plain = 0;
  int32_t inputs_visualized = 0;
  bool higher_is_better = false;
  bool configurable = false;
  ByteKeeping bytes_kept = ByteKeeping::kNone;
  std::string default_configuration;
  std::string module_path;  // empty for built-ins
};

// A built-in metric: what it is, and how to create one.
struct BuiltInMetric {
  int32_t kind;
  const MetricDescriptor& descriptor;
  std::unique_ptr<Metric> (*create)(const MetricParams& params);
};

// The built-ins in the order the catalogue lists them.
std::span<const BuiltInMetric> BuiltInMetrics();
// A built-in metric of the given kind; null for kinds without one.
std::unique_ptr<Metric> CreateBuiltInMetric(int32_t kind, const MetricParams& params);

class MetricCatalogue : public MetricSource, public MetricCatalogueView {
 public:
  // The process-wide catalogue, built on first use from the "plugins" folder beside the program. The first call
  // happens before any measurement thread exists.
  static const MetricCatalogue& Instance();
  // A catalogue of the built-ins and the plug-ins found in `plugin_folder` (none when it is not a folder).
  // The built-ins are listed from their descriptors; only plug-ins are loaded to be asked.
  explicit MetricCatalogue(const std::string& plugin_folder);

  int32_t Count() const override { return static_cast<int32_t>(entries_.size()); }
  // Null for an index outside the list.
  const CatalogueEntry* Entry(int32_t index) const;
  std::optional<int32_t> FindByName(const std::string& name) const;

  int32_t InputCount(int32_t index, bool with_visualization) const override;
  std::string Title(int32_t index) const override;
  std::unique_ptr<Metric> CreateMetric(int32_t index, const MetricParams& params) const override;
  bool IsBuiltIn(int32_t index) const override;
  ByteKeeping BytesKept(int32_t index) const override;
  bool IsConfigurable(int32_t index) const override;
  std::string DefaultConfiguration(int32_t index) const override;

 private:
  void AddPlugins(const std::string& plugin_folder);

  std::vector<CatalogueEntry> entries_;
};

}  // namespace vidmetra
