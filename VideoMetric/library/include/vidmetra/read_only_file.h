#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vidmetra {

// A file opened for reading at explicit 64-bit offsets. Reads never move a shared position, so
// several handles on one file (or several readers of one handle) do not disturb each other.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Opens an existing regular file; its size is taken at this moment.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return descriptor_ >= 0; }
  uint64_t Size() const { return size_; }

  // Reads exactly `count` bytes at `offset`; false on an error or when the file ends first.
  bool ReadAt(uint64_t offset, void* buffer, size_t count) const;

 private:
  int descriptor_ = -1;
  uint64_t size_ = 0;
};

}  // namespace vidmetra
