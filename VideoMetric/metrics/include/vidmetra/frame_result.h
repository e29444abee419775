#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vidmetra {

struct ResultValue {
  int32_t id;
  float value;
  bool operator==(const ResultValue&) const = default;
};

// The values of one frame (or of the whole sequence), one per result series, in the metric's order.
using FrameResult = std::vector<ResultValue>;

// One result series of a metric. `inputs` are the positions of the frames handed to Measure that the series
// describes; an empty name means the series is shown under the metric's title.
struct ResultDescriptor {
  int32_t id;
  std::vector<int32_t> inputs;
  std::string name;
  bool operator==(const ResultDescriptor&) const = default;
};

// Ordered by result id.
using ResultDescriptors = std::vector<ResultDescriptor>;

class TaskPool;

struct MetricParams {
  int32_t component;
  int32_t width;
  int32_t height;
  TaskPool* pool = nullptr;  // the threads a metric may split a frame across; none: the calling thread alone
};

// The process-wide source of result ids; plug-ins are handed its address. Ids are only taken while metrics are
// constructed, which never happens on two threads at once.
int32_t& ResultIdCounter();
int32_t TakeResultId();

}  // namespace vidmetra
