#pragma once
// The gate between the thread that runs a measurement and the one that controls it: the controller pauses by
// holding the semaphore and stops by clearing the flag while holding it; the run waits at its next checkpoint.
#include <atomic>
#include <semaphore>

#include "vidmetra/run_interfaces.h"

namespace vidmetra {

class SemaphoreRunGate : public RunGate {
 public:
  bool Checkpoint() override;
  // Takes the semaphore without waiting; false when it is already held.
  bool TryPause() { return semaphore_.try_acquire(); }
  void Resume() { semaphore_.release(); }
  // From a paused state: ends the run at its next checkpoint, then lets it go on to get there.
  void StopWhilePaused();
  void Stop();
  bool keep_running() const { return keep_running_; }

 private:
  std::binary_semaphore semaphore_{1};
  std::atomic<bool> keep_running_{true};
};

}  // namespace vidmetra
