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

// The order in which the built-ins are listed.
constexpr int32_t kBuiltInOrder[] = {kPsnrKind, kSsimKind,  kVqmKind,  kBlockingKind,
                                     kBlurringKind, kDeltaKind, kMsadKind, kMseKind};

constexpr MetricParams kProbeParams{0, 160, 160};

bool HasPluginEnding(const std::filesystem::path& path) { return ToLowerAscii(path.extension().string()) == ".vmp"; }

std::unique_ptr<PluginMetric> LoadPlugin(const std::string& module_path) {
  auto plugin = std::make_unique<PluginMetric>();
  if (!plugin->Load(module_path)) return nullptr;
  return plugin;
}

}  // namespace

std::unique_ptr<Metric> CreateBuiltInMetric(int32_t kind, const MetricParams& params) {
  switch (kind) {
    case kBlockingKind: return std::make_unique<BlockingMetric>(params);
    case kBlurringKind: return std::make_unique<BlurringMetric>(params);
    case kDeltaKind: return std::make_unique<DeltaMetric>(params);
    case kMsadKind: return std::make_unique<MsadMetric>(params);
    case kMseKind: return std::make_unique<MseMetric>(params);
    case kPsnrKind: return std::make_unique<PsnrMetric>(params);
    case kSsimKind: return std::make_unique<SsimMetric>(params);
    case kVqmKind: return std::make_unique<VqmMetric>(params);
    default: return nullptr;
  }
}

const MetricCatalogue& MetricCatalogue::Instance() {
  // Without a known program folder there is no plug-in folder either, rather than one relative to wherever
  // the program happens to be started.
  static const MetricCatalogue catalogue(ProgramFolder().empty() ? std::string() : ProgramFolder() + "plugins");
  return catalogue;
}

MetricCatalogue::MetricCatalogue(const std::string& plugin_folder) {
  for (const int32_t kind : kBuiltInOrder) {
    if (std::unique_ptr<Metric> probe = CreateBuiltInMetric(kind, kProbeParams)) Record(*probe, kind, {});
  }
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
      Record(*plugin, kPluginKind, module.string());
    }
  }
}

void MetricCatalogue::Record(Metric& metric, int32_t kind, std::string module_path) {
  CatalogueEntry entry;
  entry.kind = kind;
  entry.name = metric.GetName();
  entry.title = metric.GetTitle();
  entry.help_address = metric.GetHelpAddress();
  entry.units = metric.GetUnits();
  entry.components = metric.GetSupportedComponents();
  entry.inputs_plain = metric.GetInputCount(false);
  entry.inputs_visualized = metric.GetInputCount(true);
  entry.higher_is_better = metric.IsHigherBetter();
  entry.configurable = metric.IsConfigurable();
  if (entry.configurable) entry.default_configuration = metric.GetConfiguration();
  entry.module_path = std::move(module_path);
  entries_.push_back(std::move(entry));
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

std::unique_ptr<Metric> MetricCatalogue::CreateMetric(int32_t index, const MetricParams& params) const {
  const CatalogueEntry* entry = Entry(index);
  if (entry == nullptr) return nullptr;
  if (entry->kind != kPluginKind) return CreateBuiltInMetric(entry->kind, params);
  std::unique_ptr<PluginMetric> plugin = LoadPlugin(entry->module_path);
  if (plugin) plugin->Init(params);
  return plugin;
}

}  // namespace vidmetra
