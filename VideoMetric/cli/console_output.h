#pragma once
// The run's lines and progress on standard error: a time-stamped line per message, and a progress bar that
// redraws in place when standard error is a terminal.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

#include "vidmetra/metric_catalogue.h"
#include "vidmetra/run_log.h"

namespace vidmetra::cli {

class ConsoleOutput : public LineDisplay, public ProgressSink {
 public:
  ConsoleOutput(const MetricCatalogue& catalogue, std::FILE* stream, bool quiet, bool terminal);

  void AddLine(const std::string& line) override;
  void Begin(int32_t metric_index, const std::vector<std::string>& paths, int32_t component) override;
  void SetMinimum(int32_t value) override;
  void SetMaximum(int32_t value) override;
  void SetPosition(int32_t value) override;
  void Finish() override;
  // A message of the program itself (not of the run), shown even when quiet.
  void Notice(const std::string& text);

 private:
  void ClearBar();
  void DrawBar();
  // Redraws at most ten times a second, and always for the last frame.
  void DrawBarThrottled();

  const MetricCatalogue& catalogue_;
  std::FILE* stream_;
  bool quiet_;
  bool terminal_;
  std::mutex mutex_;
  int32_t minimum_ = 0;
  int32_t maximum_ = 100;
  int32_t position_ = 0;
  bool bar_shown_ = false;
  bool measuring_ = false;  // between the first frame of a file and the end of the run
  std::chrono::steady_clock::time_point last_draw_{};
};

}  // namespace vidmetra::cli
