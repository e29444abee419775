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

}  // namespace

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

namespace {

std::string JsonNumber(std::optional<float> value) {
  if (!value || !std::isfinite(*value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(*value));
  return text;
}

bool MeasuredAnyFrame(const RunRecord& record) {
  if (!record.store) return false;
  for (const int32_t id : record.store->SeriesIds()) {
    if (!record.store->Values(id).empty()) return true;
  }
  return false;
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
  for (const std::string& path : record.csv_paths) text += "CSV: " + path + "\n";
  return text;
}

std::string JsonSummary(const RunRecord& record, const MetricCatalogue& catalogue,
                        const std::vector<OpenedInput>& inputs) {
  const ResultStore& store = *record.store;
  std::string json = "{\"schema\":" + std::to_string(kJsonSchema) +
                     ",\"status\":" + std::to_string(record.status.measurement) +
                     ",\"visualization_status\":" + std::to_string(record.status.visualization) +
                     ",\"success\":" + (record.success ? "true" : "false") + ",\"inputs\":[";
  for (size_t i = 0; i < inputs.size(); ++i) {
    const OpenedInput& input = inputs[i];
    json += (i > 0 ? ",{" : "{") + std::string("\"path\":") + JsonString(input.path) +
            ",\"width\":" + std::to_string(input.width) + ",\"height\":" + std::to_string(input.height) +
            ",\"layout\":" + JsonString(input.layout) + ",\"reader\":" + JsonString(input.description) +
            ",\"decoder\":" + (input.decoder.empty() ? std::string("null") : JsonString(input.decoder)) +
            ",\"frames\":" + std::to_string(input.frames) + "}";
  }
  json += "],\"series\":[";
  const int32_t rows = store.FrameCount().value_or(0);
  bool first = true;
  for (const int32_t id : store.SeriesIds()) {
    const SeriesInfo& info = *store.Series(id);
    const CatalogueEntry* entry = catalogue.Entry(info.metric_index);
    json += first ? "{" : ",{";
    first = false;
    json += "\"id\":" + std::to_string(id) + ",\"metric\":" + JsonString(entry != nullptr ? entry->name : "") +
            ",\"component\":" + JsonString(ColourComponentName(info.component)) +
            ",\"name\":" + JsonString(info.name) + ",\"title\":" + JsonString(SeriesTitle(info, catalogue)) +
            ",\"files\":[";
    for (size_t i = 0; i < info.files.size(); ++i) json.append(i > 0 ? "," : "").append(JsonString(info.files[i].path));
    json += "],\"frames\":" + std::to_string(store.Values(id).size()) +
            ",\"average\":" + JsonNumber(store.Average(id)) + ",\"values\":[";
    for (int32_t r = 0; r < rows; ++r) json.append(r > 0 ? "," : "").append(JsonNumber(store.ValueAt(id, r)));
    json += "]}";
  }
  json += "],\"files_written\":[";
  for (size_t i = 0; i < record.files_written.size(); ++i) {
    json.append(i > 0 ? "," : "").append(JsonString(record.files_written[i]));
  }
  return json + "]}\n";
}

int ExitCode(const RunRecord& record, bool stopped, bool csv_wanted) {
  const bool output_lost = (csv_wanted && (record.csv_paths.empty() || record.csv_failures > 0)) ||
                           record.log_failed || record.status.visualization == 1 || record.bad_frames_failed;
  switch (record.status.measurement) {
    case 2: return stopped || output_lost ? 1 : 0;
    // A run whose every processed file failed (one refused for its pixel format, say) measured nothing.
    case 1: return stopped || MeasuredAnyFrame(record) ? 1 : 2;
    default: return 2;
  }
}

}  // namespace vidmetra::cli
