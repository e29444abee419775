#pragma once
// Which frames are "bad": the roles the run's series play, the candidate scores they give, and the choice of the
// worst candidates with frames near a chosen one left out.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vidmetra/result_store.h"

namespace vidmetra {

enum BadFrameMode : int32_t {
  kOriginalVsProcessed = 0,
  kFirstVsSecondProcessed = 1,
  kFirstBetterThanSecond = 2,
  kSecondBetterThanFirst = 3,
};

// Role of each series: 0 the original alone, 1 the first processed file, 2 the second. `paths` are the
// original's and the two processed files' paths, an empty one standing for an absent input.
std::map<int32_t, int32_t> BadFrameRoles(const ResultStore& store, const std::array<std::string, 3>& paths);

struct BadFrameCandidate {
  int32_t frame;
  float score;
};

struct BadFrameCandidates {
  std::vector<BadFrameCandidate> candidates;
  // The scores are differences between two series, whose size counts rather than their sign.
  bool absolute = false;
};

// One series: its values. Otherwise the second processed file's values minus the first's, or (without a second)
// the first's minus the original's, position by position.
BadFrameCandidates CandidatesFor(const ResultStore& store, const std::map<int32_t, int32_t>& roles);

struct SelectionRule {
  int32_t mode = kOriginalVsProcessed;
  bool higher_is_better = true;
  int32_t count = 0;   // 0 (or less): until the candidates run out
  int32_t radius = 0;  // a chosen frame f also rules out f - radius .. f + radius - 1
};

// The chosen frame numbers, in the order they were chosen. Scores that are not numbers come last.
std::vector<int32_t> SelectBadFrames(BadFrameCandidates candidates, const SelectionRule& rule);

}  // namespace vidmetra
