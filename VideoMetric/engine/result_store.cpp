#include "vidmetra/result_store.h"

#include <algorithm>

namespace vidmetra {

std::vector<int32_t> ResultStore::SeriesIds() const {
  std::vector<int32_t> ids;
  ids.reserve(series_.size());
  for (const auto& entry : series_) ids.push_back(entry.first);
  return ids;
}

const SeriesInfo* ResultStore::Series(int32_t id) const {
  const auto it = series_.find(id);
  return it == series_.end() ? nullptr : &it->second;
}

const std::vector<FrameValue>& ResultStore::Values(int32_t id) const {
  static const std::vector<FrameValue> kNone;
  const auto it = values_.find(id);
  return it == values_.end() ? kNone : it->second;
}

std::optional<float> ResultStore::Average(int32_t id) const {
  const auto it = averages_.find(id);
  if (it == averages_.end()) return std::nullopt;
  return it->second;
}

std::optional<float> ResultStore::ValueAt(int32_t id, int32_t frame) const {
  const std::vector<FrameValue>& values = Values(id);
  if (values.empty()) return std::nullopt;
  const int64_t position = int64_t{frame} - values.front().frame;
  if (position < 0 || position >= static_cast<int64_t>(values.size())) return std::nullopt;
  return values[static_cast<size_t>(position)].value;
}

FrameResult ResultStore::ValuesAt(int32_t frame) const {
  FrameResult result;
  for (const auto& entry : values_) {
    if (const auto value = ValueAt(entry.first, frame)) result.push_back({entry.first, *value});
  }
  return result;
}

std::optional<int32_t> ResultStore::FrameCount() const {
  std::optional<int32_t> first;
  std::optional<int32_t> last;
  for (const auto& entry : values_) {
    if (entry.second.empty()) continue;
    first = std::min(first.value_or(entry.second.front().frame), entry.second.front().frame);
    for (const FrameValue& value : entry.second) last = std::max(last.value_or(value.frame), value.frame);
  }
  if (!first) return std::nullopt;
  return *last - *first + 1;
}

ResultStore ResultStore::Subset(const std::vector<int32_t>& ids) const {
  ResultStore subset;
  for (const int32_t id : ids) {
    if (const auto series = series_.find(id); series != series_.end()) subset.series_.insert(*series);
    if (const auto values = values_.find(id); values != values_.end()) subset.values_.insert(*values);
    if (const auto average = averages_.find(id); average != averages_.end()) subset.averages_.insert(*average);
  }
  return subset;
}

}  // namespace vidmetra
