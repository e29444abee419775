#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vidmetra::converters {

// A C stream that closes itself; the converters read and write whole frames with it.
class CFile {
 public:
  CFile() = default;
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // `mode` as for fopen ("rb", "wb").
  bool Open(const std::string& path, const char* mode);
  bool Close();
  bool IsOpen() const { return file_ != nullptr; }

  // Exactly `count` bytes or false.
  bool ReadAll(void* buffer, size_t count);
  bool WriteAll(const void* buffer, size_t count);
  bool WriteText(const std::string& text) { return WriteAll(text.data(), text.size()); }
  bool Seek(uint64_t offset);
  // The file's length, or -1 when it cannot be told.
  int64_t Length();

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace vidmetra::converters
