#include "interrupt_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace vidmetra::cli {
namespace {

TEST(InterruptWatch, FirstInterruptStopsTheRunThroughTheGate) {
  SemaphoreRunGate gate;
  std::atomic<int> notices{0};
  {
    InterruptWatch watch(gate, [&] { ++notices; });
    EXPECT_TRUE(gate.Checkpoint());
    ASSERT_EQ(kill(getpid(), SIGINT), 0);  // blocked in every thread: only the watcher takes it
    for (int i = 0; i < 200 && gate.keep_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(gate.Checkpoint());
    EXPECT_TRUE(watch.interrupted());
  }
  EXPECT_EQ(notices, 1);
}

TEST(InterruptWatch, EndsPromptlyWithoutAnyInterrupt) {
  SemaphoreRunGate gate;
  const auto start = std::chrono::steady_clock::now();
  { InterruptWatch watch(gate, nullptr); }
  // Generous for a loaded machine, yet well below the second a polling watcher would take to notice.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_TRUE(gate.keep_running());
}

}  // namespace
}  // namespace vidmetra::cli
