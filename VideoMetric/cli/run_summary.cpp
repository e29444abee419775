#include "run_summary.h"

#include <cmath>
#include <cstdio>

#include "vidmetra/colour_component.h"
#include "vidmetra/output_name.h"

namespace vidmetra::cli {
namespace {

// The series' column title as in the CSV file: title, name, component.
std::string SeriesTitle(const SeriesInfo& info, const MetricCatalogue& catalogue) {
  std::string title = catalogue.Title(info.metric_index);
  if (!info.name.empty()) title += "_" + info.name;
  return title + "_" + ColourComponentName(info.component);
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

std::string JsonNumber(std::optional<float> value) {
  if (!value || !std::isfinite(*value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(*value));
  return text;
}

}  // namespace

std::string TextSummary(const RunRecord& record, const MetricCatalogue& catalogue) {
  std::string text;
  for (const int32_t id : record.store->SeriesIds()) {
    const SeriesInfo& info = *record.store->Series(id);
    std::string files;
    for (const InputFileEntry& file : info.files) files.append(" ").append(FileNameOf(file.path));
    char average[64];
    std::snprintf(average, sizeof average, "%5.5f", static_cast<double>(record.store->Average(id).value_or(NAN)));
    text += SeriesTitle(info, catalogue) + files + ": average " + average + " over " +
            std::to_string(record.store->Values(id).size()) + " frames\n";
  }
  if (!record.csv_path.empty()) text += "CSV: " + record.csv_path + "\n";
  return text;
}

std::string JsonSummary(const RunRecord& record, const MetricCatalogue& catalogue,
                        const std::vector<OpenedInput>& inputs) {
  std::string json = "{\"status\":" + std::to_string(record.status.measurement) +
                     ",\"visualization_status\":" + std::to_string(record.status.visualization) +
                     ",\"success\":" + (record.success ? "true" : "false") + ",\"series\":[";
  bool first = true;
  for (const int32_t id : record.store->SeriesIds()) {
    const SeriesInfo& info = *record.store->Series(id);
    const CatalogueEntry* entry = catalogue.Entry(info.metric_index);
    json += first ? "{" : ",{";
    first = false;
    json += "\"id\":" + std::to_string(id) + ",\"title\":" + JsonString(SeriesTitle(info, catalogue)) +
            ",\"metric\":" + JsonString(entry != nullptr ? entry->name : "") +
            ",\"component\":" + JsonString(ColourComponentName(info.component)) + ",\"files\":[";
    for (size_t i = 0; i < info.files.size(); ++i) {
      if (i > 0) json += ",";
      json += JsonString(info.files[i].path);
    }
    json += "],\"frames\":" + std::to_string(record.store->Values(id).size()) +
            ",\"average\":" + JsonNumber(record.store->Average(id)) + "}";
  }
  json += "],\"inputs\":[";
  for (size_t i = 0; i < inputs.size(); ++i) {
    json += (i > 0 ? ",{" : "{") + std::string("\"path\":") + JsonString(inputs[i].path) +
            ",\"reader\":" + JsonString(inputs[i].description) +
            ",\"decoder\":" + (inputs[i].decoder.empty() ? std::string("null") : JsonString(inputs[i].decoder)) + "}";
  }
  json += "],\"csv\":" + (record.csv_path.empty() ? std::string("null") : JsonString(record.csv_path)) + "}\n";
  return json;
}

int ExitCode(const RunRecord& record, bool stopped, bool csv_wanted) {
  const bool output_lost = (csv_wanted && record.csv_path.empty()) || record.log_failed;
  switch (record.status.measurement) {
    case 2: return stopped || output_lost ? 1 : 0;
    case 1: return 1;
    default: return 2;
  }
}

}  // namespace vidmetra::cli
