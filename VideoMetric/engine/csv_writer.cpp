#include "vidmetra/csv_writer.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "vidmetra/colour_component.h"
#include "vidmetra/output_name.h"
#include "vidmetra/utf_text.h"

namespace vidmetra {
namespace {

std::string Formatted(const char* format, float value) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<double>(value));
  return text;
}

// Cells of one row, each followed by the separator except the last, which ends the line.
std::string Row(const std::vector<std::string>& cells, char separator) {
  std::string row;
  for (size_t i = 0; i < cells.size(); ++i) row.append(cells[i]).push_back(i + 1 < cells.size() ? separator : '\n');
  return row;
}

}  // namespace

std::string CsvWriter::FileName(const ResultStore& store) const {
  if (settings_.name_generation == kNameCustom) return settings_.custom_name;
  return GeneratedName(store, catalogue_, settings_.name_generation == kNamePostfix) + ".csv";
}

std::string CsvWriter::Contents(const ResultStore& store) const {
  const char separator = settings_.separator == kCsvComma ? ',' : ';';
  const std::vector<int32_t> ids = store.SeriesIds();
  std::vector<std::string> titles, first, second, averages;
  for (const int32_t id : ids) {
    const SeriesInfo& info = *store.Series(id);
    std::string title = catalogue_.Title(info.metric_index);
    if (!info.name.empty()) title.append("_").append(info.name);
    titles.push_back(title.append("_").append(ColourComponentName(info.component)));
    first.push_back(info.files.size() > 0 ? info.files[0].path : std::string());
    second.push_back(info.files.size() > 1 ? info.files[1].path : std::string());
    averages.push_back(Formatted("AVG: %5.5f", store.Average(id).value_or(0.0f)));
  }
  std::string text = Row(titles, separator) + Row(first, separator) + Row(second, separator) + Row(averages, separator);
  const int32_t rows = store.FrameCount().value_or(0);
  std::vector<std::string> cells(ids.size());
  for (int32_t r = 0; r < rows; ++r) {
    for (size_t i = 0; i < ids.size(); ++i) {
      const std::optional<float> value = store.ValueAt(ids[i], r);
      cells[i] = value ? Formatted("%5.5f", *value) : std::string();
    }
    text += Row(cells, separator);
  }
  // UTF-8 stands in for the ANSI code page: it represents every character, so nothing becomes "_".
  return settings_.unicode ? Utf16LeBytes(text) : text;
}

bool CsvWriter::Write(const ResultStore& store) {
  path_ = JoinFolder(settings_.output_folder, FileName(store));
  std::ofstream file(path_, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  const std::string contents = Contents(store);
  file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  file.close();
  // A full disk must not pass for a saved file.
  return static_cast<bool>(file);
}

}  // namespace vidmetra
