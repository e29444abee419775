#include "cli_options.h"

#include "metric_list.h"

#include <algorithm>
#include <charconv>

#include "vidmetra/ascii_case.h"
#include "vidmetra/bad_frame_selection.h"
#include "vidmetra/colour_space.h"
#include "vidmetra/compressor_catalogue.h"
#include "vidmetra/open_sequence_reader.h"
#include "vidmetra/reader_registry.h"

namespace vidmetra::cli {
namespace {

struct Named {
  const char* name;
  int value;
};

constexpr Named kFormats[] = {{"yv12", kYv12}, {"iyuv", kIyuv}, {"yuy2", kYuy2},
                              {"uyvy", kUyvy}, {"yuv", kYuv},   {"y", kY}};
constexpr Named kMatrices[] = {{"rec601", kRec601}, {"pc601", kPc601}};
constexpr Named kCaptionPositions[] = {
    {"top-left", kTopLeft}, {"top-right", kTopRight}, {"bottom-left", kBottomLeft}, {"bottom-right", kBottomRight}};
constexpr Named kBadFrameModes[] = {{"original", kOriginalVsProcessed},
                                    {"processed", kFirstVsSecondProcessed},
                                    {"first-better", kFirstBetterThanSecond},
                                    {"second-better", kSecondBetterThanFirst}};

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

void FillNameGeneration(const std::string& text, int32_t& generation, std::string& custom_name) {
  if (text == "prefix") {
    generation = kNamePrefix;
  } else if (text == "postfix") {
    generation = kNamePostfix;
  } else {
    generation = kNameCustom;
    custom_name = text;
  }
}

std::optional<std::string> FillVisualization(const CliOptions& options, MeasurementSettings& settings) {
  VisualizationSettings& visualization = settings.visualization;
  visualization.enabled = options.visualize_folder.has_value();
  visualization.output_folder = options.visualize_folder.value_or("");
  FillNameGeneration(options.visualize_name, visualization.name_generation, visualization.custom_name);
  if (!options.compressor.empty()) {
    const std::optional<CompressorSettings> compressor = ParseCompressor(options.compressor);
    if (!compressor) {
      return "--compressor '" + options.compressor + "' is not an installed compressor with options it accepts "
             "(see --list-compressors)";
    }
    visualization.compressor = *compressor;
  }
  const std::optional<int> position = Lookup(kCaptionPositions, options.caption);
  if (!position) return "--caption must be top-left, top-right, bottom-left or bottom-right";
  settings.caption.position = *position;
  settings.caption.print_frame_number = options.caption_frame_number;
  settings.caption.print_metric_value = options.caption_values;
  return std::nullopt;
}

std::optional<std::string> FillBadFrames(const CliOptions& options, size_t processed_files,
                                         BadFrameSettings& bad_frames) {
  bad_frames.enabled = options.bad_frames_folder.has_value();
  bad_frames.output_folder = options.bad_frames_folder.value_or("");
  const std::optional<int> mode = Lookup(kBadFrameModes, options.bad_mode);
  if (!mode) return "--bad-mode must be original, processed, first-better or second-better";
  if (bad_frames.enabled && *mode != kOriginalVsProcessed && processed_files < 2) {
    return "--bad-mode " + options.bad_mode + " compares two processed files: give the original and two processed files";
  }
  if (options.bad_count < 0 || options.bad_radius < 0) return "--bad-count and --bad-radius must not be negative";
  bad_frames.mode = *mode;
  bad_frames.count = options.bad_count;
  bad_frames.radius = options.bad_radius;
  return std::nullopt;
}

std::optional<std::string> FillCsv(const CliOptions& options, CsvOutputSettings& csv) {
  csv.enabled = options.csv_folder.has_value();
  csv.output_folder = options.csv_folder.value_or("");
  FillNameGeneration(options.csv_name, csv.name_generation, csv.custom_name);
  if (options.csv_separator == "comma") {
    csv.separator = kCsvComma;
  } else if (options.csv_separator == "semicolon") {
    csv.separator = kCsvSemicolon;
  } else {
    return "--csv-separator must be comma or semicolon";
  }
  csv.unicode = options.csv_unicode;
  csv.per_metric = options.csv_per_metric;
  // One custom name cannot name several files.
  if (csv.per_metric && csv.name_generation == kNameCustom) return "--csv-per-metric needs --csv-name prefix or postfix";
  return std::nullopt;
}

// Every catalogue entry starts from its default; --config goes to the configurable metrics of the run.
std::optional<std::string> FillConfigurations(const CliOptions& options, const MetricCatalogue& catalogue,
                                              const std::vector<MetricChoice>& metrics,
                                              std::vector<std::string>& configurations) {
  configurations.clear();
  for (int32_t i = 0; i < catalogue.Count(); ++i) configurations.push_back(catalogue.Entry(i)->default_configuration);
  if (!options.config) return std::nullopt;
  bool taken = false;
  for (const MetricChoice& metric : metrics) {
    if (!catalogue.IsConfigurable(metric.metric_index)) continue;
    configurations[static_cast<size_t>(metric.metric_index)] = *options.config;
    taken = true;
  }
  if (taken) return std::nullopt;
  if (metrics.size() == 1) return catalogue.Title(metrics.front().metric_index) + " takes no configuration";
  return "no metric of --metric takes a configuration";
}

}  // namespace

FrameAlignment AlignmentOf(const CliOptions& options) {
  const int limit = options.frames.value_or(-1);
  return {{options.skip_original, limit}, {options.skip_processed, limit}};
}

std::optional<CompressorSettings> ParseCompressor(const std::string& text) {
  const size_t colon = text.find(':');
  const std::string code = text.substr(0, colon);
  if (code.empty() || code.size() > 4) return std::nullopt;
  CompressorSettings settings;
  settings.fcc_type = kVideoCompressorType;
  // Installed compressors are known by upper-case codes; a short code is padded with blanks ("DIB").
  const std::string padded = ToUpperAscii(code + "   ");
  for (int i = 0; i < 4; ++i) settings.fcc_handler |= static_cast<uint32_t>(static_cast<uint8_t>(padded[i])) << (8 * i);
  settings.quality = -1;  // the compressor's own default
  if (colon != std::string::npos) settings.SetStateText(text.substr(colon + 1));
  const CompressorCatalogue::Entry* entry = CompressorCatalogue::Instance().Find(settings.fcc_handler);
  if (entry == nullptr) return std::nullopt;
  // The uncompressed choice takes no options; every other compressor must accept the ones given.
  if (!entry->create) return settings.state.empty() ? std::optional(CompressorSettings{}) : std::nullopt;
  if (!CompressorCatalogue::Instance().Open(settings)) return std::nullopt;
  return settings;
}

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
  std::vector<MetricChoice> metrics;
  if (auto error = ParseMetricList(options.metric, options.component, catalogue, metrics)) return error;
  MeasurementRequest& request = settings.request;
  request.metric_index = metrics.front().metric_index;
  request.component = metrics.front().component;
  request.further_metrics.assign(metrics.begin() + 1, metrics.end());
  const std::optional<int> matrix = Lookup(kMatrices, options.matrix);
  if (!matrix) return "--matrix must be rec601 or pc601";
  request.colour_matrix = *matrix;

  const std::vector<std::string> inputs = OrderedInputs(options);
  if (options.references.size() > 1) return "give one original (-r) only";
  if (options.references.empty() && options.positional.empty() && !options.distorted.empty()) {
    return "name the original with -r or as the first input";
  }
  if (inputs.empty()) return "no input files (see --help)";
  for (const MetricChoice& metric : metrics) {
    const CatalogueEntry& entry = *catalogue.Entry(metric.metric_index);
    if (entry.inputs_plain == 2 && inputs.size() < 2) {
      return entry.title +
             " compares processed files with the original: give the original and at least one processed file";
    }
  }
  request.files.clear();
  if (auto error = MakeEntries(options, inputs, request.files)) return error;
  if (auto error = FillCsv(options, settings.csv)) return error;
  if (auto error = FillVisualization(options, settings)) return error;
  if (auto error = FillBadFrames(options, inputs.size() - 1, settings.bad_frames)) return error;
  // The inputs the bad frames are told apart by: the original, then the first two processed files.
  for (size_t i = 0; i < settings.input.inputs.size(); ++i) {
    settings.input.inputs[i] = i < request.files.size() ? request.files[i] : InputFileEntry{};
  }
  if (!ParseSize(options.plot_size)) return "--plot-size must be WIDTHxHEIGHT, e.g. 1600x600";
  return FillConfigurations(options, catalogue, metrics, settings.input.metric_configurations);
}

}  // namespace vidmetra::cli
