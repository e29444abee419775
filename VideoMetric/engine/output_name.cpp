#include "vidmetra/output_name.h"

#include <algorithm>
#include <vector>

#include "vidmetra/ascii_case.h"
#include "vidmetra/colour_component.h"

namespace vidmetra {
namespace {

#if defined(_WIN32)
constexpr std::string_view kSeparators = "\\/";
constexpr char kNativeSeparator = '\\';
#else
constexpr std::string_view kSeparators = "/";
constexpr char kNativeSeparator = '/';
#endif

void AddOnce(std::vector<std::string>& parts, std::string part) {
  if (std::find(parts.begin(), parts.end(), part) == parts.end()) parts.push_back(std::move(part));
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text.append(i == 0 ? "" : "_").append(parts[i]);
  return text;
}

}  // namespace

std::string_view FileNameOf(std::string_view path) {
  const size_t separator = path.find_last_of(kSeparators);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view BaseNameOf(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string JoinFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && kSeparators.find(path.back()) == std::string_view::npos) path += kNativeSeparator;
  return path.append(name);
}

std::string GeneratedName(const ResultStore& store, const MetricCatalogue& catalogue, bool postfix) {
  return GeneratedName(store, store.SeriesIds(), catalogue, postfix);
}

std::string GeneratedName(const ResultStore& store, const std::vector<int32_t>& ids, const MetricCatalogue& catalogue,
                          bool postfix) {
  std::vector<std::string> metric_parts;
  std::vector<std::string> video_parts;
  for (const int32_t id : ids) {
    const SeriesInfo* found = store.Series(id);
    if (found == nullptr) continue;
    const SeriesInfo& info = *found;
    const CatalogueEntry* entry = catalogue.Entry(info.metric_index);
    AddOnce(metric_parts, (entry != nullptr ? entry->name : std::string()) + "_" +
                              ToLowerAscii(ColourComponentName(info.component)));
    for (const InputFileEntry& file : info.files) AddOnce(video_parts, std::string(BaseNameOf(file.path)));
  }
  const std::string metric = Joined(metric_parts);
  const std::string video = Joined(video_parts);
  return postfix ? video + "_" + metric : metric + "_" + video;
}

}  // namespace vidmetra
