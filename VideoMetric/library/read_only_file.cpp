#include "vidmetra/read_only_file.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vidmetra {

ReadOnlyFile::~ReadOnlyFile() { Close(); }

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(std::exchange(other.size_, 0)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Close();
    descriptor_ = std::exchange(other.descriptor_, -1);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool ReadOnlyFile::Open(const std::string& path) {
  Close();
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
    ::close(descriptor);
    return false;
  }
  descriptor_ = descriptor;
  size_ = static_cast<uint64_t>(status.st_size);
  return true;
}

void ReadOnlyFile::Close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  size_ = 0;
}

bool ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) const {
  if (descriptor_ < 0) return false;
  constexpr auto kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
  if (offset > kMaxOffset || count > kMaxOffset - offset) return false;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    const ssize_t got = ::pread(descriptor_, bytes, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    count -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

}  // namespace vidmetra
