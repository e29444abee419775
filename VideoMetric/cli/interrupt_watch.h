#pragma once
// Ctrl-C stops a run at its next frame through the run gate, so that what was measured is still written;
// a second Ctrl-C ends the program at once.
#include <atomic>
#include <functional>
#include <thread>

#include "vidmetra/semaphore_run_gate.h"

namespace vidmetra::cli {

class InterruptWatch {
 public:
  // Blocks SIGINT and SIGTERM for the calling thread and every thread it starts afterwards; call it first.
  InterruptWatch(SemaphoreRunGate& gate, std::function<void()> on_first);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  bool interrupted() const { return interrupted_; }

 private:
  void Watch();

  SemaphoreRunGate& gate_;
  std::function<void()> on_first_;
  std::atomic<bool> done_{false};
  std::atomic<bool> interrupted_{false};
  std::thread watcher_;
};

}  // namespace vidmetra::cli
