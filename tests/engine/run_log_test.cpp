#include "vidmetra/run_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"
#include "vidmetra/semaphore_run_gate.h"
#include "vidmetra/utf_text.h"

namespace vidmetra {
namespace {

std::tm At(int hour, int minute, int second) {
  std::tm time{};
  time.tm_hour = hour;
  time.tm_min = minute;
  time.tm_sec = second;
  return time;
}

TEST(TimeStamp, TwelveHourClockWithoutMarker) {
  EXPECT_EQ(TimeStamp(At(15, 7, 59)), "03:07:59");
  EXPECT_EQ(TimeStamp(At(0, 5, 0)), "12:05:00");
  EXPECT_EQ(TimeStamp(At(12, 0, 1)), "12:00:01");
  EXPECT_EQ(TimeStamp(At(9, 30, 5)), "09:30:05");
}

TEST(FileLog, TwoRunsAppendUtf16LinesToOneFile) {
  testing::TempDir dir;
  const std::string path = dir.File("log.txt");
  {
    FileLog first(path, nullptr);
    ASSERT_TRUE(first.is_open());
    EXPECT_TRUE(first.Write("Opening \"a.yuv\""));
  }
  {
    FileLog second(path, nullptr);
    EXPECT_TRUE(second.Write("Done!"));
  }
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::string raw = bytes.str();
  ASSERT_EQ(raw.size() % 2, 0u);
  std::u16string wide;
  for (size_t i = 0; i < raw.size(); i += 2) {
    wide += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8);
  }
  const std::string text = Utf16ToUtf8(wide);
  EXPECT_TRUE(std::regex_match(text, std::regex("(0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9] : Opening \"a.yuv\"\n"
                                                "(0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9] : Done!\n")))
      << text;
  EXPECT_EQ(raw.find('\r'), std::string::npos);
}

struct CollectedLines : LineDisplay {
  std::vector<std::string> lines;
  void AddLine(const std::string& line) override { lines.push_back(line.substr(8)); }  // without the time
};

TEST(FileLog, UnopenableFileStillShowsEveryLineAndSaysOnceThatTheFileFailed) {
  testing::TempDir dir;
  const std::string path = dir.File("no/such/folder/log.txt");
  FileLog file(path, nullptr);
  EXPECT_FALSE(file.is_open());
  EXPECT_TRUE(file.failed());
  EXPECT_FALSE(file.Write("x"));
  CollectedLines display;
  TimeStampedLog log(&display, &file);
  log.Write("still shown");
  log.Write("and this");
  EXPECT_EQ(display.lines, (std::vector<std::string>{" : still shown", " : Failed to write the log to \"" + path + "\"",
                                                      " : and this"}));
}

TEST(FileLog, FullDeviceFailsTheFirstLine) {
  FileLog file("/dev/full", nullptr);
  ASSERT_TRUE(file.is_open());
  EXPECT_FALSE(file.failed());
  EXPECT_FALSE(file.Write("lost"));
  EXPECT_TRUE(file.failed());
}

TEST(FileLog, NoFileAskedForIsNoFailure) {
  FileLog file("", nullptr);
  EXPECT_FALSE(file.Write("x"));
  EXPECT_FALSE(file.failed());
  CollectedLines display;
  TimeStampedLog log(&display, &file);
  log.Write("only line");
  EXPECT_EQ(display.lines, std::vector<std::string>{" : only line"});
}

TEST(SemaphoreRunGate, PauseHoldsTheRunAndStopEndsIt) {
  SemaphoreRunGate gate;
  EXPECT_TRUE(gate.Checkpoint());
  ASSERT_TRUE(gate.TryPause());
  EXPECT_FALSE(gate.TryPause());
  std::atomic<int> passed{0};
  std::atomic<bool> result{true};
  std::thread run([&] {
    result = gate.Checkpoint();
    passed = 1;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(passed, 0);  // held while paused
  gate.StopWhilePaused();
  run.join();
  EXPECT_EQ(passed, 1);
  EXPECT_FALSE(result);
  EXPECT_FALSE(gate.Checkpoint());
}

TEST(SemaphoreRunGate, ResumeLetsTheRunGoOn) {
  SemaphoreRunGate gate;
  ASSERT_TRUE(gate.TryPause());
  std::thread run([&] { EXPECT_TRUE(gate.Checkpoint()); });
  gate.Resume();
  run.join();
  gate.Stop();
  EXPECT_FALSE(gate.keep_running());
}

}  // namespace
}  // namespace vidmetra
