#include "metric_list.h"

#include <algorithm>

#include "vidmetra/ascii_case.h"
#include "vidmetra/colour_component.h"

namespace vidmetra::cli {
namespace {

constexpr const char* kComponentLetters = "yuvlrgb";  // in ColourComponent order

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end = text.find(separator); end != std::string::npos; end = text.find(separator, start)) {
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A named entry with no component of its own speaks for itself only in a list; its component came from
// --component.
std::string EntryPrefix(const std::string& entry, size_t entries, bool has_component) {
  return entries > 1 || has_component ? "--metric entry '" + entry + "': " : std::string();
}

// Resolves one entry ("name" or "name:component") into `choice`.
std::optional<std::string> ParseEntry(const std::string& entry, size_t entries,
                                      const std::optional<std::string>& default_component,
                                      const MetricCatalogue& catalogue, MetricChoice& choice) {
  const size_t colon = entry.find(':');
  const std::string name = entry.substr(0, colon);
  const std::optional<int32_t> index = catalogue.FindByName(name);
  if (!index) {
    return "unknown metric '" + name + "'" + (entries > 1 ? " in --metric entry '" + entry + "'" : "") +
           " (see --list-metrics)";
  }
  const CatalogueEntry& metric = *catalogue.Entry(*index);
  choice.metric_index = *index;
  choice.component = metric.components.empty() ? kComponentY : metric.components.front();
  const std::optional<std::string> letter =
      colon != std::string::npos ? std::optional(entry.substr(colon + 1)) : default_component;
  if (!letter) return std::nullopt;
  const std::optional<int32_t> component = ComponentOfLetter(*letter);
  if (!component) {
    return colon != std::string::npos
               ? "unknown component '" + *letter + "' in --metric entry '" + entry + "' (Y, U, V, L, R, G or B)"
               : "unknown --component '" + *letter + "' (Y, U, V, L, R, G or B)";
  }
  if (std::find(metric.components.begin(), metric.components.end(), *component) == metric.components.end()) {
    return EntryPrefix(entry, entries, colon != std::string::npos) + metric.title + " does not measure the " +
           ColourComponentName(*component) + " component";
  }
  choice.component = *component;
  return std::nullopt;
}

// "all" stands for every built-in metric, in catalogue order.
std::vector<std::string> Expanded(const std::vector<std::string>& entries, const MetricCatalogue& catalogue) {
  std::vector<std::string> expanded;
  for (const std::string& entry : entries) {
    if (entry != "all") {
      expanded.push_back(entry);
      continue;
    }
    for (int32_t i = 0; i < catalogue.Count(); ++i) {
      if (catalogue.IsBuiltIn(i)) expanded.push_back(catalogue.Entry(i)->name);
    }
  }
  return expanded;
}

}  // namespace

std::optional<int32_t> ComponentOfLetter(const std::string& text) {
  const std::string letter = ToLowerAscii(text);
  const size_t at = letter.size() == 1 ? std::string_view(kComponentLetters).find(letter[0]) : std::string::npos;
  if (at == std::string::npos) return std::nullopt;
  return static_cast<int32_t>(at);
}

std::optional<std::string> ParseMetricList(const std::string& text, const std::optional<std::string>& default_component,
                                           const MetricCatalogue& catalogue, std::vector<MetricChoice>& metrics) {
  const std::vector<std::string> given = Split(text, ',');
  if (std::find(given.begin(), given.end(), std::string()) != given.end()) {
    return "--metric '" + text + "' has an empty entry";
  }
  const std::vector<std::string> entries = Expanded(given, catalogue);
  metrics.clear();
  for (const std::string& entry : entries) {
    MetricChoice choice;
    if (auto error = ParseEntry(entry, entries.size(), default_component, catalogue, choice)) return error;
    if (std::find(metrics.begin(), metrics.end(), choice) != metrics.end()) {
      return "--metric entry '" + entry + "' measures what an earlier entry measures";
    }
    metrics.push_back(choice);
  }
  return std::nullopt;
}

}  // namespace vidmetra::cli
