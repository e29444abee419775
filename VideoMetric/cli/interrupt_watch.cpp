#include "interrupt_watch.h"

#include <csignal>
#include <ctime>
#include <unistd.h>

namespace vidmetra::cli {
namespace {

sigset_t WatchedSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

InterruptWatch::InterruptWatch(SemaphoreRunGate& gate, std::function<void()> on_first)
    : gate_(gate), on_first_(std::move(on_first)) {
  const sigset_t signals = WatchedSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  watcher_ = std::thread([this] { Watch(); });
}

InterruptWatch::~InterruptWatch() {
  done_ = true;
  watcher_.join();
}

void InterruptWatch::Watch() {
  const sigset_t signals = WatchedSignals();
  const timespec poll{0, 100'000'000};
  while (!done_) {
    if (sigtimedwait(&signals, nullptr, &poll) < 0) continue;
    if (interrupted_) _exit(130);
    interrupted_ = true;
    if (on_first_) on_first_();
    gate_.Stop();
  }
}

}  // namespace vidmetra::cli
