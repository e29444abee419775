#include "interrupt_watch.h"

#include <csignal>
#include <unistd.h>

namespace vidmetra::cli {
namespace {

// Sent by the destructor so that the watcher notices the end at once.
constexpr int kWakeSignal = SIGUSR1;

sigset_t WatchedSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, kWakeSignal);
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
  pthread_kill(watcher_.native_handle(), kWakeSignal);
  watcher_.join();
}

void InterruptWatch::Watch() {
  const sigset_t signals = WatchedSignals();
  for (;;) {
    int signal = 0;
    if (sigwait(&signals, &signal) != 0) continue;
    if (done_) return;
    if (signal == kWakeSignal) continue;
    if (interrupted_) _exit(130);
    interrupted_ = true;
    if (on_first_) on_first_();
    gate_.Stop();
  }
}

}  // namespace vidmetra::cli
