#include "vidmetra/bad_frame_selection.h"

#include <algorithm>
#include <cmath>

namespace vidmetra {
namespace {

bool HasPath(const SeriesInfo& info, const std::string& path) {
  if (path.empty()) return false;
  return std::any_of(info.files.begin(), info.files.end(), [&](const InputFileEntry& file) { return file.path == path; });
}

// Two series of a two-input metric measured against both processed files, or one against one.
void ComparedRoles(const ResultStore& store, const std::vector<int32_t>& ids, const std::array<std::string, 3>& paths,
                   std::map<int32_t, int32_t>& roles) {
  if (ids.size() == 1) {
    if (HasPath(*store.Series(ids[0]), paths[1])) roles[ids[0]] = 1;
    return;
  }
  for (const int32_t id : ids) {
    const SeriesInfo& info = *store.Series(id);
    if (HasPath(info, paths[1]) && HasPath(info, paths[0])) roles[id] = 1;
  }
  for (const int32_t id : ids) {
    const SeriesInfo& info = *store.Series(id);
    if (!roles.contains(id) && HasPath(info, paths[2]) && HasPath(info, paths[0])) roles[id] = 2;
  }
}

// Descending for "larger is worse"; not-a-number scores after every number either way.
void Order(std::vector<BadFrameCandidate>& candidates, bool ascending) {
  std::stable_sort(candidates.begin(), candidates.end(), [ascending](const BadFrameCandidate& a, const BadFrameCandidate& b) {
    if (std::isnan(a.score) || std::isnan(b.score)) return !std::isnan(a.score) && std::isnan(b.score);
    return ascending ? a.score < b.score : a.score > b.score;
  });
}

bool AscendingOrder(const SelectionRule& rule) {
  switch (rule.mode) {
    case kOriginalVsProcessed: return rule.higher_is_better;  // the worst values of the series first
    case kFirstBetterThanSecond: return rule.higher_is_better;
    case kSecondBetterThanFirst: return !rule.higher_is_better;
    default: return false;
  }
}

}  // namespace

std::map<int32_t, int32_t> BadFrameRoles(const ResultStore& store, const std::array<std::string, 3>& paths) {
  std::map<int32_t, int32_t> roles;
  const std::vector<int32_t> ids = store.SeriesIds();
  if (ids.empty()) return roles;
  const size_t first_files = store.Series(ids[0])->files.size();
  if ((ids.size() == 2 || ids.size() == 1) && first_files == 2) {
    ComparedRoles(store, ids, paths, roles);
  } else if (first_files == 1) {
    for (const int32_t id : ids) {
      const SeriesInfo& info = *store.Series(id);
      if (info.files.size() != 1) continue;
      for (int32_t role = 0; role < 3; ++role) {
        if (!paths[role].empty() && info.files[0].path == paths[role]) {
          roles[id] = role;
          break;
        }
      }
    }
  }
  return roles;
}

BadFrameCandidates CandidatesFor(const ResultStore& store, const std::map<int32_t, int32_t>& roles) {
  BadFrameCandidates result;
  if (roles.size() == 1) {
    for (const FrameValue& value : store.Values(roles.begin()->first)) result.candidates.push_back({value.frame, value.value});
    return result;
  }
  std::array<const std::vector<FrameValue>*, 3> lists{};
  for (const auto& [id, role] : roles) {
    if (lists[role] == nullptr) lists[role] = &store.Values(id);
  }
  static const std::vector<FrameValue> kNone;
  for (auto& list : lists) list = list != nullptr ? list : &kNone;
  const bool second = !lists[2]->empty();
  const std::vector<FrameValue>& base = second ? *lists[1] : *lists[0];
  const std::vector<FrameValue>& other = second ? *lists[2] : *lists[1];
  const size_t common = std::min(base.size(), other.size());
  for (size_t i = 0; i < common; ++i) result.candidates.push_back({base[i].frame, other[i].value - base[i].value});
  result.absolute = true;
  return result;
}

std::vector<int32_t> SelectBadFrames(BadFrameCandidates candidates, const SelectionRule& rule) {
  std::vector<BadFrameCandidate>& list = candidates.candidates;
  if (candidates.absolute && (rule.mode == kOriginalVsProcessed || rule.mode == kFirstVsSecondProcessed)) {
    for (BadFrameCandidate& candidate : list) candidate.score = std::fabs(candidate.score);
    Order(list, false);
  } else {
    Order(list, AscendingOrder(rule));
  }
  std::vector<int32_t> chosen;
  if (list.empty()) return chosen;
  // Exclusions only matter where candidates are, so they are kept over the candidates' span alone.
  const auto [lowest, highest] = std::minmax_element(
      list.begin(), list.end(), [](const BadFrameCandidate& a, const BadFrameCandidate& b) { return a.frame < b.frame; });
  const int64_t first = lowest->frame;
  const int64_t last = highest->frame;
  std::vector<bool> excluded(static_cast<size_t>(last - first + 1), false);
  for (const BadFrameCandidate& candidate : list) {
    if (excluded[static_cast<size_t>(candidate.frame - first)]) continue;
    chosen.push_back(candidate.frame);
    const int64_t from = std::max<int64_t>(static_cast<int64_t>(candidate.frame) - rule.radius, first);
    const int64_t to = std::min<int64_t>(static_cast<int64_t>(candidate.frame) + rule.radius, last + 1);
    for (int64_t f = from; f < to; ++f) excluded[static_cast<size_t>(f - first)] = true;
    excluded[static_cast<size_t>(candidate.frame - first)] = true;
    if (static_cast<int32_t>(chosen.size()) == rule.count) break;
  }
  return chosen;
}

}  // namespace vidmetra
