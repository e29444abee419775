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

// Runs `here` on the calling thread and `there` on `helper` (after `here` when there is no helper), and returns
// when both are done. `there` is handed over by reference, so a frame's split costs no allocation.
template <typename Here, typename There>
void RunSideBySide(BackgroundTask* helper, Here&& here, There&& there) {
  if (helper == nullptr) {
    here();
    there();
    return;
  }
  helper->Start(std::ref(there));
  here();
  helper->Wait();
}

}  // namespace vidmetra
