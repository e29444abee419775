#pragma once
// The naming rule shared by the CSV file and the visualization output: metric part and video part built from
// the run's series, joined in prefix or postfix order.
#include <string>
#include <string_view>
#include <vector>

#include "vidmetra/metric_catalogue.h"
#include "vidmetra/result_store.h"

namespace vidmetra {

// The text after the last path separator; the whole path when there is none.
std::string_view FileNameOf(std::string_view path);
// FileNameOf(path) cut before its last "."; uncut when it has none.
std::string_view BaseNameOf(std::string_view path);
// `folder` + separator (unless it already ends with one) + `name`; `name` alone for an empty folder.
std::string JoinFolder(std::string_view folder, std::string_view name);
// "<metric part>_<video part>" (prefix) or "<video part>_<metric part>" (postfix), without an ending, from the
// series `ids` (every series of the store when absent).
std::string GeneratedName(const ResultStore& store, const MetricCatalogue& catalogue, bool postfix);
std::string GeneratedName(const ResultStore& store, const std::vector<int32_t>& ids, const MetricCatalogue& catalogue,
                          bool postfix);

}  // namespace vidmetra
