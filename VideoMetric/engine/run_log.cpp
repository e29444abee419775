#include "vidmetra/run_log.h"

#include "vidmetra/utf_text.h"

namespace vidmetra {

std::string TimeStamp(const std::tm& local) {
  const int hour = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, local.tm_min % 60, local.tm_sec % 61);
  return text;
}

std::string TimeStampNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return TimeStamp(local);
}

FileLog::FileLog(const std::string& path, std::FILE* echo) : path_(path), echo_(echo) {
  if (path.empty()) return;
  file_ = std::fopen(path.c_str(), "ab");
  failed_ = file_ == nullptr;
}

FileLog::~FileLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileLog::Write(const std::string& text) {
  if (file_ == nullptr) return false;
  const std::string line = TimeStampNow() + " : " + text + "\n";
  const std::string bytes = Utf16LeBytes(line);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && std::fflush(file_) == 0;
  if (echo_ != nullptr) std::fputs(line.c_str(), echo_);
  failed_ = failed_ || !written;
  return written;
}

void TimeStampedLog::Write(const std::string& text) {
  Show(text);
  if (file_ == nullptr || file_->Write(text) || !file_->failed() || failure_shown_) return;
  failure_shown_ = true;
  Show("Failed to write the log to \"" + file_->path() + "\"");
}

void TimeStampedLog::Show(const std::string& text) {
  if (display_ != nullptr) display_->AddLine(TimeStampNow() + " : " + text);
}

}  // namespace vidmetra
