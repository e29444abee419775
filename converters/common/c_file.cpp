#include "vidmetra/converters/c_file.h"

#include <sys/types.h>

#include <limits>

namespace vidmetra::converters {

CFile::~CFile() { Close(); }

bool CFile::Open(const std::string& path, const char* mode) {
  Close();
  file_ = std::fopen(path.c_str(), mode);
  return file_ != nullptr;
}

bool CFile::Close() {
  if (file_ == nullptr) return true;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed;
}

bool CFile::ReadAll(void* buffer, size_t count) { return count == 0 || std::fread(buffer, 1, count, file_) == count; }

bool CFile::WriteAll(const void* buffer, size_t count) {
  return count == 0 || std::fwrite(buffer, 1, count, file_) == count;
}

bool CFile::Seek(uint64_t offset) {
  if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return false;
  return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

int64_t CFile::Length() {
  const off_t here = ftello(file_);
  if (here < 0 || fseeko(file_, 0, SEEK_END) != 0) return -1;
  const off_t end = ftello(file_);
  if (fseeko(file_, here, SEEK_SET) != 0) return -1;
  return end;
}

}  // namespace vidmetra::converters
