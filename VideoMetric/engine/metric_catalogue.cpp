#include "vidmetra/metric_catalogue.h"

#include <algorithm>
#include <filesystem>

#include "vidmetra/ascii_case.h"
#include "vidmetra/blocking_metric.h"
#include "vidmetra/blurring_metric.h"
#include "vidmetra/delta_metric.h"
#include "vidmetra/msad_metric.h"
#include "vidmetra/mse_metric.h"
#include "vidmetra/program_folder.h"
#include "vidmetra/plugin_metric.h"
#include "vidmetra/psnr_metric.h"
#include "vidmetra/ssim_metric.h"
#include "vidmetra/vqm_metric.h"

namespace vidmetra {
namespace {

template <typename BuiltIn>
std::unique_ptr<Metric> Create(const MetricParams& params) {
  return std::make_unique<BuiltIn>(params);
}

template <typename BuiltIn>
constexpr BuiltInMetric Describe(int32_t kind) {
  return {kind, BuiltIn::kDescriptor, Create<BuiltIn>};
}

constexpr BuiltInMetric kBuiltIns[] = {
    Describe<PsnrMetric>(kPsnrKind),         Describe<SsimMetric>(kSsimKind),   Describe<VqmMetric>(kVqmKind),
    Describe<BlockingMetric>(kBlockingKind), Describe<BlurringMetric>(kBlurringKind),
    Describe<DeltaMetric>(kDeltaKind),       Describe<MsadMetric>(kMsadKind),   Describe<MseMetric>(kMseKind),
};

CatalogueEntry FromDescriptor(const MetricDescriptor& descriptor, int32_t kind) {
  CatalogueEntry entry;
  entry.kind = kind;
  entry.name = descriptor.name;
  entry.title = descriptor.title;
  entry.help_address = descriptor.HelpAddress();
  entry.units = descriptor.units;
  entry.components.assign(descriptor.components.begin(), descriptor.components.end());
  entry.inputs_plain = descriptor.inputs_plain;
  entry.inputs_visualized = descriptor.inputs_visualized;
  entry.higher_is_better = descriptor.higher_is_better;
  entry.configurable = descriptor.configurable;
  if (descriptor.reads_bytes) {
    entry.bytes_kept = descriptor.differences_only ? ByteKeeping::kDifferences : ByteKeeping::kExact;
  }
  if (entry.configurable) entry.default_configuration = descriptor.default_configuration;
  return entry;
}

CatalogueEntry FromPlugin(PluginMetric& plugin, std::string module_path) {
  CatalogueEntry entry;
  entry.kind = kPluginKind;
  entry.name = plugin.GetName();
  entry.title = plugin.GetTitle();
  entry.help_address = plugin.GetHelpAddress();
  entry.units = plugin.GetUnits();
  entry.components = plugin.GetSupportedComponents();
  entry.inputs_plain = plugin.GetInputCount(false);
  entry.inputs_visualized = plugin.GetInputCount(true);
  entry.higher_is_better = plugin.IsHigherBetter();
  entry.configurable = plugin.IsConfigurable();
  if (entry.configurable) entry.default_configuration = plugin.GetConfiguration();
  entry.module_path = std::move(module_path);
  return entry;
}

bool HasPluginEnding(const std::filesystem::path& path) { return ToLowerAscii(path.extension().string()) == ".vmp"; }

std::unique_ptr<PluginMetric> LoadPlugin(const std::string& module_path) {
  auto plugin = std::make_unique<PluginMetric>();
  if (!plugin->Load(module_path)) return nullptr;
  return plugin;
}

}  // namespace

std::span<const BuiltInMetric> BuiltInMetrics() { return kBuiltIns; }

std::unique_ptr<Metric> CreateBuiltInMetric(int32_t kind, const MetricParams& params) {
  for (const BuiltInMetric& built_in : kBuiltIns) {
    if (built_in.kind == kind) return built_in.create(params);
  }
  return nullptr;
}

const MetricCatalogue& MetricCatalogue::Instance() {
  // Without a known program folder there is no plug-in folder either, rather than one relative to wherever
  // the program happens to be started.
  static const MetricCatalogue catalogue(ProgramFolder().empty() ? std::string() : ProgramFolder() + "plugins");
  return catalogue;
}

MetricCatalogue::MetricCatalogue(const std::string& plugin_folder) {
  for (const BuiltInMetric& built_in : kBuiltIns) entries_.push_back(FromDescriptor(built_in.descriptor, built_in.kind));
  AddPlugins(plugin_folder);
}

void MetricCatalogue::AddPlugins(const std::string& plugin_folder) {
  // Only looking, never creating: a missing folder is simply no plug-ins, and nothing is left behind.
  std::error_code error;
  if (!std::filesystem::is_directory(plugin_folder, error)) return;
  std::vector<std::filesystem::path> modules;
  // Stepped with error codes: a folder that fails mid-listing ends the search instead of throwing.
  for (std::filesystem::directory_iterator item(plugin_folder, error), end; !error && item != end;
       item.increment(error)) {
    if (HasPluginEnding(item->path())) modules.push_back(item->path());
  }
  // Directory order differs between file systems; a sorted list keeps metric indices stable across machines.
  std::sort(modules.begin(), modules.end());
  for (const auto& module : modules) {
    if (std::unique_ptr<PluginMetric> plugin = LoadPlugin(module.string())) {
      entries_.push_back(FromPlugin(*plugin, module.string()));
    }
  }
}

const CatalogueEntry* MetricCatalogue::Entry(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &entries_[static_cast<size_t>(index)];
}

std::optional<int32_t> MetricCatalogue::FindByName(const std::string& name) const {
  for (int32_t i = 0; i < Count(); ++i) {
    if (entries_[static_cast<size_t>(i)].name == name) return i;
  }
  return std::nullopt;
}

int32_t MetricCatalogue::InputCount(int32_t index, bool with_visualization) const {
  const CatalogueEntry* entry = Entry(index);
  if (entry == nullptr) return 0;
  return with_visualization ? entry->inputs_visualized : entry->inputs_plain;
}

std::string MetricCatalogue::Title(int32_t index) const {
  const CatalogueEntry* entry = Entry(index);
  return entry == nullptr ? std::string() : entry->title;
}

bool MetricCatalogue::IsConfigurable(int32_t index) const {
  const CatalogueEntry* entry = Entry(index);
  return entry != nullptr && entry->configurable;
}

std::string MetricCatalogue::DefaultConfiguration(int32_t index) const {
  const CatalogueEntry* entry = Entry(index);
  return entry == nullptr ? std::string() : entry->default_configuration;
}

bool MetricCatalogue::IsBuiltIn(int32_t index) const {
  const CatalogueEntry* entry = Entry(index);
  return entry != nullptr && entry->kind != kPluginKind;
}

ByteKeeping MetricCatalogue::BytesKept(int32_t index) const {
  const CatalogueEntry* entry = Entry(index);
  return entry == nullptr ? ByteKeeping::kNone : entry->bytes_kept;
}

std::unique_ptr<Metric> MetricCatalogue::CreateMetric(int32_t index, const MetricParams& params) const {
  const CatalogueEntry* entry = Entry(index);
  if (entry == nullptr) return nullptr;
  if (entry->kind != kPluginKind) return CreateBuiltInMetric(entry->kind, params);
  std::unique_ptr<PluginMetric> plugin = LoadPlugin(entry->module_path);
  if (plugin) plugin->Init(params);
  return plugin;
}

}  // namespace vidmetra
