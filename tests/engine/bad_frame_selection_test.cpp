// Choosing the bad frames: the roles the series play, the candidates they give, and the choice itself against a
// brute-force selector.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "vidmetra/bad_frame_saver.h"
#include "vidmetra/bad_frame_selection.h"

namespace vidmetra {
namespace {

using ::testing::ElementsAre;

BadFrameCandidates Series(const std::vector<float>& values) {
  BadFrameCandidates candidates;
  for (size_t i = 0; i < values.size(); ++i) candidates.candidates.push_back({static_cast<int32_t>(i), values[i]});
  return candidates;
}

// Picks, again and again, the best-ranked candidate that no earlier choice has ruled out; ties go to the earlier
// candidate.
std::vector<int32_t> BruteForce(const BadFrameCandidates& input, const SelectionRule& rule) {
  std::vector<BadFrameCandidate> list = input.candidates;
  const bool absolute = input.absolute && rule.mode <= kFirstVsSecondProcessed;
  if (absolute) {
    for (auto& c : list) c.score = std::fabs(c.score);
  }
  bool ascending = false;
  if (!absolute) {
    if (rule.mode == kOriginalVsProcessed || rule.mode == kFirstBetterThanSecond) ascending = rule.higher_is_better;
    if (rule.mode == kSecondBetterThanFirst) ascending = !rule.higher_is_better;
  }
  std::vector<int32_t> chosen;
  std::vector<bool> used(list.size(), false);
  while (rule.count <= 0 || static_cast<int32_t>(chosen.size()) < rule.count) {
    int best = -1;
    for (size_t i = 0; i < list.size(); ++i) {
      if (used[i]) continue;
      const int32_t f = list[i].frame;
      const bool ruled_out = std::any_of(chosen.begin(), chosen.end(), [&](int32_t c) {
        return f == c || (c - rule.radius <= f && f < c + rule.radius);
      });
      if (ruled_out) {
        used[i] = true;
        continue;
      }
      const float s = list[i].score;
      if (best < 0 || (ascending ? s < list[best].score : s > list[best].score)) best = static_cast<int>(i);
    }
    if (best < 0) break;
    used[static_cast<size_t>(best)] = true;
    chosen.push_back(list[static_cast<size_t>(best)].frame);
  }
  return chosen;
}

TEST(BadFrameSelectionTest, MatchesBruteForceOnRandomSeries) {
  std::mt19937 random(2026);
  for (int round = 0; round < 600; ++round) {
    const int frames = 1 + static_cast<int>(random() % 120);
    // Distinct scores, so that the order of ties cannot matter.
    std::vector<float> values(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) values[static_cast<size_t>(i)] = static_cast<float>(i) - static_cast<float>(frames) / 2.0f;
    std::shuffle(values.begin(), values.end(), random);
    BadFrameCandidates candidates = Series(values);
    candidates.absolute = random() % 2 == 0;
    if (candidates.absolute) {
      // Absolute values must stay distinct too.
      for (float& v : values) v = std::fabs(v) + 0.25f * (v < 0);
      candidates = Series(values);
      candidates.absolute = true;
    }
    const SelectionRule rule{static_cast<int32_t>(random() % 4), random() % 2 == 0,
                             static_cast<int32_t>(random() % 12), static_cast<int32_t>(random() % 15)};
    EXPECT_EQ(SelectBadFrames(candidates, rule), BruteForce(candidates, rule))
        << "round " << round << " mode " << rule.mode << " count " << rule.count << " radius " << rule.radius;
  }
}

TEST(BadFrameSelectionTest, EdgeCases) {
  const std::vector<float> psnr = {40, 31, 45, 29, 38, 33, 50, 30};
  // PSNR (higher is better): the three lowest; MSE (lower is better): the three highest.
  EXPECT_THAT(SelectBadFrames(Series(psnr), {kOriginalVsProcessed, true, 3, 0}), ElementsAre(3, 7, 1));
  EXPECT_THAT(SelectBadFrames(Series(psnr), {kOriginalVsProcessed, false, 3, 0}), ElementsAre(6, 2, 0));
  // Count 0 keeps choosing until the candidates run out.
  EXPECT_EQ(SelectBadFrames(Series(psnr), {kOriginalVsProcessed, true, 0, 0}).size(), psnr.size());

  // Radius 10 after frame 50: 40..59 are ruled out, 60 is not.
  std::vector<float> ramp(100, 0.0f);
  ramp[50] = 100;
  ramp[40] = ramp[59] = 90;
  ramp[60] = 80;
  ramp[39] = 70;
  EXPECT_THAT(SelectBadFrames(Series(ramp), {kFirstVsSecondProcessed, true, 3, 10}), ElementsAre(50, 60, 39));

  // Mode 2, PSNR: the candidates are second minus first; where the first beats the second most comes first.
  BadFrameCandidates differences = Series({-1.0f, 4.0f, -6.0f, 2.0f, -3.0f});
  differences.absolute = true;
  EXPECT_THAT(SelectBadFrames(differences, {kFirstBetterThanSecond, true, 0, 0}), ElementsAre(2, 4, 0, 3, 1));
  EXPECT_THAT(SelectBadFrames(differences, {kSecondBetterThanFirst, true, 2, 0}), ElementsAre(1, 3));
  EXPECT_THAT(SelectBadFrames(differences, {kFirstVsSecondProcessed, true, 2, 0}), ElementsAre(2, 1));

  // Scores that are not numbers are chosen last, and a huge radius ends the choice without a long walk.
  EXPECT_THAT(SelectBadFrames(Series({NAN, 5, NAN, 7}), {kOriginalVsProcessed, false, 0, 0}), ElementsAre(3, 1, 0, 2));
  EXPECT_THAT(SelectBadFrames(Series(psnr), {kOriginalVsProcessed, true, 0, 2'000'000'000}), ElementsAre(3));
}

TEST(BadFrameSelectionTest, RolesAndCandidates) {
  const std::array<std::string, 3> paths{"o.avi", "p1.mp4", "p2.mp4"};
  // A two-input metric against both processed files: roles 1 and 2, candidates second minus first.
  ResultStore two;
  two.AddSeries(7, {0, 0, {{"o.avi", 0, 0, 0}, {"p1.mp4", 0, 0, 0}}, "", ""});
  two.AddSeries(9, {0, 0, {{"o.avi", 0, 0, 0}, {"p2.mp4", 0, 0, 0}}, "", ""});
  for (int f = 0; f < 3; ++f) {
    two.AddValue(7, f, 30.0f + static_cast<float>(f));
    two.AddValue(9, f, 35.0f - 3.0f * static_cast<float>(f));
  }
  const auto roles = BadFrameRoles(two, paths);
  EXPECT_EQ(roles, (std::map<int32_t, int32_t>{{7, 1}, {9, 2}}));
  const BadFrameCandidates candidates = CandidatesFor(two, roles);
  EXPECT_TRUE(candidates.absolute);
  ASSERT_EQ(candidates.candidates.size(), 3u);
  EXPECT_EQ(candidates.candidates[2].frame, 2);
  EXPECT_FLOAT_EQ(candidates.candidates[2].score, 29.0f - 32.0f);

  // One processed file: one role, its own values.
  ResultStore one;
  one.AddSeries(3, {0, 0, {{"o.avi", 0, 0, 0}, {"p1.mp4", 0, 0, 0}}, "", ""});
  one.AddValue(3, 0, 12.5f);
  EXPECT_EQ(BadFrameRoles(one, paths), (std::map<int32_t, int32_t>{{3, 1}}));
  EXPECT_FALSE(CandidatesFor(one, BadFrameRoles(one, paths)).absolute);

  // A one-input metric: roles by exact path; the first processed minus the original.
  ResultStore single;
  single.AddSeries(1, {0, 0, {{"o.avi", 0, 0, 0}}, "", ""});
  single.AddSeries(2, {0, 0, {{"p1.mp4", 0, 0, 0}}, "", ""});
  single.AddSeries(4, {0, 0, {{"P2.MP4", 0, 0, 0}}, "", ""});
  single.AddValue(1, 0, 1.0f);
  single.AddValue(2, 0, 4.0f);
  EXPECT_EQ(BadFrameRoles(single, paths), (std::map<int32_t, int32_t>{{1, 0}, {2, 1}}));
  const BadFrameCandidates differences = CandidatesFor(single, BadFrameRoles(single, paths));
  ASSERT_EQ(differences.candidates.size(), 1u);
  EXPECT_FLOAT_EQ(differences.candidates[0].score, 3.0f);

  EXPECT_TRUE(BadFrameRoles(ResultStore(), paths).empty());
}

TEST(BadFrameSelectionTest, PictureNamesArePaddedToTheFrameCount) {
  EXPECT_EQ(BadFramePictureName("dir/clip.avi", 7, 250), "clip_fr_007.bmp");
  EXPECT_EQ(BadFramePictureName("dir/clip.avi", 7, 1000), "clip_fr_0007.bmp");
  EXPECT_EQ(BadFramePictureName("clip", 12, 9), "clip_fr_12.bmp");
}

}  // namespace
}  // namespace vidmetra
