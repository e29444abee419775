#include "console_output.h"

#include <algorithm>

#include "vidmetra/measurement_worker.h"

namespace vidmetra::cli {

ConsoleOutput::ConsoleOutput(const MetricCatalogue& catalogue, std::FILE* stream, bool quiet, bool terminal)
    : catalogue_(catalogue), stream_(stream), quiet_(quiet), terminal_(terminal) {}

void ConsoleOutput::ClearBar() {
  if (bar_shown_) std::fputs("\r\033[K", stream_);
  bar_shown_ = false;
}

void ConsoleOutput::DrawBar() {
  if (quiet_ || !terminal_ || !measuring_ || maximum_ <= minimum_) return;
  constexpr int kWidth = 40;
  const double done = std::clamp(static_cast<double>(position_ + 1 - minimum_) / (maximum_ - minimum_), 0.0, 1.0);
  const int filled = static_cast<int>(done * kWidth);
  std::fprintf(stream_, "\r[%s%s] %d/%d frames", std::string(static_cast<size_t>(filled), '#').c_str(),
               std::string(static_cast<size_t>(kWidth - filled), ' ').c_str(), position_ + 1 - minimum_,
               maximum_ - minimum_);
  std::fflush(stream_);
  bar_shown_ = true;
  last_draw_ = std::chrono::steady_clock::now();
}

void ConsoleOutput::DrawBarThrottled() {
  const bool last = position_ + 1 >= maximum_;
  if (last || std::chrono::steady_clock::now() - last_draw_ >= std::chrono::milliseconds(100)) DrawBar();
}

void ConsoleOutput::AddLine(const std::string& line) {
  if (quiet_) return;
  std::lock_guard lock(mutex_);
  ClearBar();
  std::fprintf(stream_, "%s\n", line.c_str());
  DrawBar();
}

void ConsoleOutput::Notice(const std::string& text) {
  std::lock_guard lock(mutex_);
  ClearBar();
  std::fprintf(stream_, "vidmetra-cli: %s\n", text.c_str());
  std::fflush(stream_);
}

void ConsoleOutput::Begin(int32_t metric_index, const std::vector<std::string>& paths, int32_t component) {
  AddLine(TimeStampNow() + " : " + MeasuringLine(catalogue_.Title(metric_index), paths, component));
}

void ConsoleOutput::SetMinimum(int32_t value) {
  std::lock_guard lock(mutex_);
  minimum_ = position_ = value;
}

void ConsoleOutput::SetMaximum(int32_t value) {
  std::lock_guard lock(mutex_);
  maximum_ = value;
  position_ = minimum_;
}

void ConsoleOutput::SetPosition(int32_t value) {
  std::lock_guard lock(mutex_);
  position_ = value;
  measuring_ = true;
  DrawBarThrottled();
}

void ConsoleOutput::Finish() {
  std::lock_guard lock(mutex_);
  position_ = minimum_;
  measuring_ = false;
  ClearBar();
}

}  // namespace vidmetra::cli
