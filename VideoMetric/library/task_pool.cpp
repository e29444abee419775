#include "vidmetra/task_pool.h"

#include <system_error>
#include <utility>

namespace vidmetra {

TaskPool::TaskPool(int threads) {
  const int wanted = threads > 0 ? threads : static_cast<int>(std::thread::hardware_concurrency());
  for (int i = 1; i < wanted; ++i) {
    try {
      workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      break;  // fewer workers only make the work slower, never different
    }
  }
}

TaskPool::~TaskPool() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  queued_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void TaskPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return head_ != nullptr || quit_; });
    if (quit_) return;
    Job& job = *head_;
    RunPart(job, StartPart(job), lock);
  }
}

int TaskPool::StartPart(Job& job) {
  const int part = job.started_++;
  if (job.started_ < job.parts_) return part;
  // Every part has started: the job leaves the queue, from wherever in it it stands.
  for (Job** link = &head_; *link != nullptr; link = &(*link)->next_) {
    if (*link == &job) {
      *link = job.next_;
      break;
    }
  }
  job.next_ = nullptr;
  return part;
}

void TaskPool::RunPart(Job& job, int part, std::unique_lock<std::mutex>& lock) {
  lock.unlock();
  std::exception_ptr failure;
  try {
    job.RunPart(part);
  } catch (...) {
    failure = std::current_exception();
  }
  lock.lock();
  if (failure && !job.failure_) job.failure_ = std::move(failure);
  if (++job.finished_ == job.parts_) finished_.notify_all();
}

void TaskPool::Submit(Job& job, int parts) {
  if (parts <= 0) return;
  {
    std::lock_guard lock(mutex_);
    job.parts_ = parts;
    job.started_ = 0;
    job.finished_ = 0;
    job.failure_ = nullptr;
    Job** link = &head_;
    while (*link != nullptr) link = &(*link)->next_;
    *link = &job;
  }
  queued_.notify_all();
  finished_.notify_all();  // a caller waiting in Finish helps with it
}

void TaskPool::Finish(Job& job) {
  std::unique_lock lock(mutex_);
  while (job.started_ < job.parts_) RunPart(job, StartPart(job), lock);
  // While other threads end its last parts, this one takes on queued work, such as the jobs those parts hand
  // out themselves, instead of idling until they are done.
  while (job.finished_ != job.parts_) {
    if (head_ != nullptr) {
      Job& queued = *head_;
      RunPart(queued, StartPart(queued), lock);
    } else {
      finished_.wait(lock);
    }
  }
  std::exception_ptr failure = std::exchange(job.failure_, nullptr);
  job.parts_ = job.started_ = job.finished_ = 0;
  lock.unlock();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace vidmetra
