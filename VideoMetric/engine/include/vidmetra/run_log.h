#pragma once
// The run log: every line time-stamped on screen and appended to a UTF-16 log file.
#include <cstdio>
#include <ctime>
#include <string>

#include "vidmetra/run_interfaces.h"

namespace vidmetra {

// "hh:mm:ss" on the 12-hour clock without a day-half marker: 15:07:59 is 03:07:59, midnight and noon are 12.
std::string TimeStamp(const std::tm& local);
std::string TimeStampNow();

// Appends time-stamped lines to a file as UTF-16LE code units, no byte-order mark, line feed only.
class FileLog {
 public:
  // `echo` receives the same lines as UTF-8 text (the program's standard output); null for none.
  explicit FileLog(const std::string& path, std::FILE* echo = stdout);
  ~FileLog();
  FileLog(const FileLog&) = delete;
  FileLog& operator=(const FileLog&) = delete;

  bool Write(const std::string& text);
  bool is_open() const { return file_ != nullptr; }
  // A file was asked for, and it could not be opened or a line did not reach it (a full disk, a folder that
  // cannot be written, a folder in its place).
  bool failed() const { return failed_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  std::FILE* echo_;
  bool failed_ = false;
};

// Where the run's lines are shown (the progress dialog's list, or a terminal).
class LineDisplay {
 public:
  virtual ~LineDisplay() = default;
  virtual void AddLine(const std::string& line) = 0;
};

// The display gets every line; the file those it can take. The first line the file fails to take is followed on
// the display by one saying so, since a run log that silently stops is a measurement record lost.
class TimeStampedLog : public RunLog {
 public:
  TimeStampedLog(LineDisplay* display, FileLog* file) : display_(display), file_(file) {}
  void Write(const std::string& text) override;

 private:
  void Show(const std::string& text);

  LineDisplay* display_;
  FileLog* file_;
  bool failure_shown_ = false;
};

}  // namespace vidmetra
