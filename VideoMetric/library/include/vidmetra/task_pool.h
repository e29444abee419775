#pragma once
// The threads that measurements work with. Whoever runs measurements owns one pool for the process and lends it
// to the metrics and readers that split their work, so that several runs share the cores instead of each
// starting threads of its own.
//
// Work is handed over as the numbered parts of a job that the caller owns, so handing it over allocates
// nothing. The caller runs every part no worker has started yet itself: nothing ever waits for a busy pool, and
// a pool of one thread runs everything in order on the caller's thread. Which thread runs a part never changes
// what the part computes, so results do not depend on the number of threads.
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace vidmetra {

class TaskPool {
 public:
  // Work in numbered parts. A job is finished before it is submitted again or destroyed.
  class Job {
   public:
    Job() = default;
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

   protected:
    ~Job() = default;

   private:
    friend class TaskPool;
    virtual void RunPart(int part) = 0;

    int parts_ = 0;
    int started_ = 0;
    int finished_ = 0;
    Job* next_ = nullptr;  // in the queue of jobs with parts not yet started
    std::exception_ptr failure_;
  };

  // `threads` at work at once: the caller's and threads − 1 workers; 0 means one per core. Workers the system
  // refuses to start are done without.
  explicit TaskPool(int threads = 0);
  ~TaskPool();
  TaskPool(const TaskPool&) = delete;
  TaskPool& operator=(const TaskPool&) = delete;

  int Threads() const { return static_cast<int>(workers_.size()) + 1; }

  // Queues parts 0 .. parts − 1 of `job`; workers start them in that order, jobs in the order submitted.
  void Submit(Job& job, int parts);
  // Runs the parts no worker has started on the calling thread, then, until the others are done, parts of
  // whatever else is queued, and then rethrows the first exception a part of `job` threw. So a part must not
  // hold a lock across Finish that another part may take.
  void Finish(Job& job);

 private:
  void Work();
  // Both with the lock held.
  int StartPart(Job& job);
  void RunPart(Job& job, int part, std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable finished_;  // also when work is queued, for the callers that help while they wait
  Job* head_ = nullptr;
  bool quit_ = false;
  std::vector<std::thread> workers_;
};

// Runs work(part) for every part in [0, parts) and returns when all are done: spread over `pool`, or in order on
// the calling thread without one.
template <typename Work>
void RunParts(TaskPool* pool, int parts, Work&& work) {
  if (pool == nullptr) {
    for (int part = 0; part < parts; ++part) work(part);
    return;
  }
  class PartsJob final : public TaskPool::Job {
   public:
    explicit PartsJob(Work& work) : work_(work) {}

   private:
    void RunPart(int part) override { work_(part); }
    Work& work_;
  } job(work);
  pool->Submit(job, parts);
  pool->Finish(job);
}

}  // namespace vidmetra
