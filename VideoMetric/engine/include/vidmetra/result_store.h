#pragma once
// Every value of a run, keyed by result id: the series descriptions, the per-frame values in the order they
// were measured, and the averages. Filled by the driver, read by the outputs and the viewer.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "vidmetra/frame_result.h"
#include "vidmetra/input_file_entry.h"

namespace vidmetra {

struct SeriesInfo {
  int32_t metric_index = 0;
  int32_t component = 0;
  std::vector<InputFileEntry> files;
  std::string configuration;
  std::string name;
};

struct FrameValue {
  int32_t frame;
  float value;
};

class ResultStore {
 public:
  void AddSeries(int32_t id, SeriesInfo info) { series_[id] = std::move(info); }
  void AddValue(int32_t id, int32_t frame, float value) { values_[id].push_back({frame, value}); }
  void SetAverage(int32_t id, float value) { averages_[id] = value; }

  std::vector<int32_t> SeriesIds() const;
  const SeriesInfo* Series(int32_t id) const;
  // Empty for an id without values.
  const std::vector<FrameValue>& Values(int32_t id) const;
  std::optional<float> Average(int32_t id) const;
  // The value at `frame`, counted from the id's first stored frame.
  std::optional<float> ValueAt(int32_t id, int32_t frame) const;
  // Every series that has a value at `frame`, in ascending id order.
  FrameResult ValuesAt(int32_t frame) const;
  // Largest stored frame number minus the smallest first frame number, plus one; none without any value.
  std::optional<int32_t> FrameCount() const;
  // A store of these series alone, with their values and averages.
  ResultStore Subset(const std::vector<int32_t>& ids) const;

 private:
  std::map<int32_t, SeriesInfo> series_;
  std::map<int32_t, std::vector<FrameValue>> values_;
  std::map<int32_t, float> averages_;
};

}  // namespace vidmetra
