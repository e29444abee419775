#pragma once
// What a run reports to and consults while it works: the progress bar, the log, and the pause/stop gate.
#include <cstdint>
#include <string>
#include <vector>

namespace vidmetra {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void Begin(int32_t metric_index, const std::vector<std::string>& paths, int32_t component) = 0;
  virtual void SetMinimum(int32_t value) = 0;
  virtual void SetMaximum(int32_t value) = 0;
  virtual void SetPosition(int32_t value) = 0;
  virtual void Finish() = 0;
};

class RunLog {
 public:
  virtual ~RunLog() = default;
  // One line; the sink adds the time stamp.
  virtual void Write(const std::string& text) = 0;
};

class RunGate {
 public:
  virtual ~RunGate() = default;
  // Blocks while the run is paused; false once the run has been stopped.
  virtual bool Checkpoint() = 0;
};

}  // namespace vidmetra
