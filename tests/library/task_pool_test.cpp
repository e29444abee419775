#include "vidmetra/task_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace vidmetra {
namespace {

// Runs every part exactly once, whatever the pool and however the parts are counted.
TEST(TaskPool, EveryPartRunsExactlyOnce) {
  TaskPool one(1);
  TaskPool three(3);
  for (TaskPool* pool : {static_cast<TaskPool*>(nullptr), &one, &three}) {
    for (const int parts : {0, 1, 2, 5, 17}) {
      std::vector<std::atomic<int>> runs(static_cast<size_t>(parts));
      RunParts(pool, parts, [&](int part) { runs[static_cast<size_t>(part)] += 1; });
      for (int part = 0; part < parts; ++part) EXPECT_EQ(runs[static_cast<size_t>(part)], 1) << part << "/" << parts;
    }
  }
}

TEST(TaskPool, OneThreadIsTheCallersAlone) {
  TaskPool pool(1);
  EXPECT_EQ(pool.Threads(), 1);
  std::vector<std::thread::id> ran(4);
  RunParts(&pool, 4, [&](int part) { ran[static_cast<size_t>(part)] = std::this_thread::get_id(); });
  for (const std::thread::id id : ran) EXPECT_EQ(id, std::this_thread::get_id());
  EXPECT_GE(TaskPool().Threads(), 1);  // one per core
}

TEST(TaskPool, WorkersRunPartsBesideTheCaller) {
  TaskPool pool(2);
  ASSERT_EQ(pool.Threads(), 2);
  // Part 0 waits for part 1, so part 1 must be on another thread while part 0 runs (or part 0 on a worker).
  std::atomic<bool> second_started{false};
  bool first_saw_second = false;
  RunParts(&pool, 2, [&](int part) {
    if (part == 1) {
      second_started = true;
      return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!second_started && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    first_saw_second = second_started;
  });
  EXPECT_TRUE(first_saw_second);
}

TEST(TaskPool, ExceptionOfAPartComesOutOfFinishAfterEveryPartRan) {
  TaskPool pool(3);
  std::atomic<int> ran{0};
  const auto failing = [&](int part) {
    ran += 1;
    if (part == 2) throw std::runtime_error("part 2 failed");
  };
  EXPECT_THROW(RunParts(&pool, 6, failing), std::runtime_error);
  EXPECT_EQ(ran, 6);
  // The pool is still whole afterwards.
  ran = 0;
  RunParts(&pool, 6, [&](int) { ran += 1; });
  EXPECT_EQ(ran, 6);
}

// A caller whose last part runs on a worker takes on the work that part hands out: here the part's second half
// of a nested job, which its first half waits for, so no thread idles while there is work queued.
TEST(TaskPool, ACallerWaitingForItsJobRunsTheWorkItsPartsHandOut) {
  TaskPool pool(2);
  std::atomic<bool> outer_started{false};
  std::atomic<bool> nested_second_ran{false};
  std::thread::id nested_second_thread;
  bool nested_first_saw_second = false;
  class Outer final : public TaskPool::Job {
   public:
    explicit Outer(std::function<void()> work) : work_(std::move(work)) {}

   private:
    void RunPart(int) override { work_(); }
    std::function<void()> work_;
  } outer([&] {
    outer_started = true;
    RunParts(&pool, 2, [&](int part) {
      if (part == 1) {
        nested_second_thread = std::this_thread::get_id();
        nested_second_ran = true;
        return;
      }
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (!nested_second_ran && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
      nested_first_saw_second = nested_second_ran;
    });
  });
  pool.Submit(outer, 1);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!outer_started && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  ASSERT_TRUE(outer_started);  // the worker has the outer part, so the caller only waits for it in Finish
  pool.Finish(outer);
  EXPECT_TRUE(nested_first_saw_second);
  EXPECT_EQ(nested_second_thread, std::this_thread::get_id());
}

class Counter final : public TaskPool::Job {
 public:
  std::atomic<int> runs{0};

 private:
  void RunPart(int) override { runs += 1; }
};

TEST(TaskPool, SubmittedWorkIsFinishedByTheCallerWhenNoWorkerTookIt) {
  TaskPool pool(1);
  Counter job;
  pool.Finish(job);  // never submitted: nothing to wait for
  pool.Submit(job, 3);
  EXPECT_EQ(job.runs, 0);  // no worker to start it
  pool.Finish(job);
  EXPECT_EQ(job.runs, 3);
  pool.Submit(job, 2);
  pool.Finish(job);
  EXPECT_EQ(job.runs, 5);
}

// Several runs in one process share one pool; each gets its own results, and none waits for another's parts.
TEST(TaskPool, SharedBySeveralCallersAtOnce) {
  TaskPool pool(2);
  Counter background;
  pool.Submit(background, 40);  // queued ahead of everything else
  std::vector<std::thread> callers;
  std::vector<long> totals(4, 0);
  for (size_t c = 0; c < totals.size(); ++c) {
    callers.emplace_back([&, c] {
      for (int round = 0; round < 200; ++round) {
        long parts[7] = {};
        RunParts(&pool, 7, [&](int part) { parts[part] = static_cast<long>(c + 1) * (part + 1); });
        for (const long value : parts) totals[c] += value;
      }
    });
  }
  for (std::thread& caller : callers) caller.join();
  pool.Finish(background);
  EXPECT_EQ(background.runs, 40);
  for (size_t c = 0; c < totals.size(); ++c) EXPECT_EQ(totals[c], 200L * 28 * static_cast<long>(c + 1)) << c;
}

}  // namespace
}  // namespace vidmetra
