#pragma once
// One long-lived thread that runs one piece of work at a time, so that work handed to the second core every
// frame costs no thread creation.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vidmetra {

class BackgroundTask {
 public:
  BackgroundTask();
  ~BackgroundTask();  // waits for the work under way
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Waits for the previous work, then starts `work` on the thread.
  void Start(std::function<void()> work);
  void Wait();

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> work_;
  bool busy_ = false;
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace vidmetra
