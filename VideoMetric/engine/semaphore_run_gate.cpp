#include "vidmetra/semaphore_run_gate.h"

namespace vidmetra {

bool SemaphoreRunGate::Checkpoint() {
  semaphore_.acquire();
  semaphore_.release();
  return keep_running_;
}

void SemaphoreRunGate::StopWhilePaused() {
  keep_running_ = false;
  semaphore_.release();
}

void SemaphoreRunGate::Stop() {
  semaphore_.acquire();
  StopWhilePaused();
}

}  // namespace vidmetra
