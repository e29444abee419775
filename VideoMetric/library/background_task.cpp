#include "vidmetra/background_task.h"

namespace vidmetra {

BackgroundTask::BackgroundTask() : thread_([this] { Loop(); }) {}

BackgroundTask::~BackgroundTask() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void BackgroundTask::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || quit_; });
    if (quit_) return;
    lock.unlock();
    work_();
    lock.lock();
    busy_ = false;
    changed_.notify_all();
  }
}

void BackgroundTask::Start(std::function<void()> work) {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    work_ = std::move(work);
    busy_ = true;
  }
  changed_.notify_all();
}

void BackgroundTask::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
}

}  // namespace vidmetra
