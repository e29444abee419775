#include "cli_options.h"

#include <algorithm>
#include <charconv>

#include "vidmetra/ascii_case.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/open_sequence_reader.h"
#include "vidmetra/reader_registry.h"

namespace vidmetra::cli {
namespace {

struct Named {
  const char* name;
  int value;
};

constexpr Named kComponents[] = {{"y", kComponentY}, {"u", kComponentU}, {"v", kComponentV}, {"l", kComponentL},
                                 {"r", kComponentR}, {"g", kComponentG}, {"b", kComponentB}};
constexpr Named kFormats[] = {{"yv12", kYv12}, {"iyuv", kIyuv}, {"yuy2", kYuy2},
                              {"uyvy", kUyvy}, {"yuv", kYuv},   {"y", kY}};
constexpr Named kMatrices[] = {{"rec601", kRec601}, {"pc601", kPc601}};

template <size_t N>
std::optional<int> Lookup(const Named (&table)[N], const std::string& text) {
  const std::string key = ToLowerAscii(text);
  for (const Named& entry : table) {
    if (key == entry.name) return entry.value;
  }
  return std::nullopt;
}

// Raw files say nothing about themselves: a file is raw when no reader takes it without a picture size, by its
// name (.yuv, .seq are raw by name) or by its first bytes.
bool IsRaw(const std::string& path) { return DefaultReaderRegistry().Select(path, 0, 0) == nullptr; }

// The inputs in measuring order: the original first.
std::vector<std::string> OrderedInputs(const CliOptions& options) {
  std::vector<std::string> inputs = options.references;
  if (options.references.empty()) {
    inputs = options.positional;
    inputs.insert(inputs.end(), options.distorted.begin(), options.distorted.end());
  } else {
    inputs.insert(inputs.end(), options.distorted.begin(), options.distorted.end());
    inputs.insert(inputs.end(), options.positional.begin(), options.positional.end());
  }
  return inputs;
}

std::optional<std::string> MakeEntries(const CliOptions& options, const std::vector<std::string>& inputs,
                                       std::vector<InputFileEntry>& entries) {
  std::optional<std::pair<int, int>> size;
  if (options.size) {
    size = ParseSize(*options.size);
    if (!size) return "--size must be WIDTHxHEIGHT with both above 0, e.g. 352x288";
  }
  std::optional<int> format;
  if (options.format) {
    format = Lookup(kFormats, *options.format);
    if (!format) return "unknown --format '" + *options.format + "' (yv12, iyuv, yuy2, uyvy, yuv or y)";
  }
  bool any_raw = false;
  for (const std::string& path : inputs) {
    InputFileEntry entry{path, 0, 0, 0};
    if (IsRaw(path)) {
      if (!size) return "raw input '" + path + "' needs --size WIDTHxHEIGHT";
      entry.width = size->first;
      entry.height = size->second;
      entry.colour_mode = RawColourMode(path, format.value_or(kYv12));
      any_raw = true;
    }
    entries.push_back(entry);
  }
  // Sizes given for files that carry their own would be silently ignored: say so instead.
  if ((size || format) && !any_raw) return "--size and --format apply to raw inputs only, and no input is raw";
  return std::nullopt;
}

std::optional<std::string> FillCsv(const CliOptions& options, CsvOutputSettings& csv) {
  csv.enabled = options.csv_folder.has_value();
  csv.output_folder = options.csv_folder.value_or("");
  if (options.csv_name == "prefix") {
    csv.name_generation = kNamePrefix;
  } else if (options.csv_name == "postfix") {
    csv.name_generation = kNamePostfix;
  } else {
    csv.name_generation = kNameCustom;
    csv.custom_name = options.csv_name;
  }
  if (options.csv_separator == "comma") {
    csv.separator = kCsvComma;
  } else if (options.csv_separator == "semicolon") {
    csv.separator = kCsvSemicolon;
  } else {
    return "--csv-separator must be comma or semicolon";
  }
  csv.unicode = options.csv_unicode;
  return std::nullopt;
}

}  // namespace

std::optional<std::pair<int, int>> ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  int width = 0, height = 0;
  const char* end = text.data() + text.size();
  const auto w = std::from_chars(text.data(), text.data() + x, width);
  const auto h = std::from_chars(text.data() + x + 1, end, height);
  if (w.ec != std::errc() || w.ptr != text.data() + x || h.ec != std::errc() || h.ptr != end) return std::nullopt;
  if (width <= 0 || height <= 0) return std::nullopt;
  return std::make_pair(width, height);
}

std::optional<std::string> BuildSettings(const CliOptions& options, const MetricCatalogue& catalogue,
                                         MeasurementSettings& settings) {
  const std::optional<int32_t> index = catalogue.FindByName(options.metric);
  if (!index) return "unknown metric '" + options.metric + "' (see --list-metrics)";
  const CatalogueEntry& entry = *catalogue.Entry(*index);
  MeasurementRequest& request = settings.request;
  request.metric_index = *index;

  request.component = entry.components.empty() ? kComponentY : entry.components.front();
  if (options.component) {
    const std::optional<int> component = Lookup(kComponents, *options.component);
    if (!component) return "unknown --component '" + *options.component + "' (Y, U, V, L, R, G or B)";
    if (std::find(entry.components.begin(), entry.components.end(), *component) == entry.components.end()) {
      return entry.title + " does not measure the " + ColourComponentName(*component) + " component";
    }
    request.component = *component;
  }
  const std::optional<int> matrix = Lookup(kMatrices, options.matrix);
  if (!matrix) return "--matrix must be rec601 or pc601";
  request.colour_matrix = *matrix;

  const std::vector<std::string> inputs = OrderedInputs(options);
  if (options.references.size() > 1) return "give one original (-r) only";
  if (options.references.empty() && options.positional.empty() && !options.distorted.empty()) {
    return "name the original with -r or as the first input";
  }
  if (inputs.empty()) return "no input files (see --help)";
  if (entry.inputs_plain == 2 && inputs.size() < 2) {
    return entry.title + " compares processed files with the original: give the original and at least one processed file";
  }
  request.files.clear();
  if (auto error = MakeEntries(options, inputs, request.files)) return error;
  if (auto error = FillCsv(options, settings.csv)) return error;
  if (!ParseSize(options.plot_size)) return "--plot-size must be WIDTHxHEIGHT, e.g. 1600x600";

  settings.input.metric_configurations.clear();
  for (int32_t i = 0; i < catalogue.Count(); ++i) {
    settings.input.metric_configurations.push_back(catalogue.Entry(i)->default_configuration);
  }
  if (options.config) {
    if (!entry.configurable) return entry.title + " takes no configuration";
    settings.input.metric_configurations[static_cast<size_t>(*index)] = *options.config;
  }
  return std::nullopt;
}

}  // namespace vidmetra::cli
