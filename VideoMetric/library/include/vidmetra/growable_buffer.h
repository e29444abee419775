#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>

namespace vidmetra {

// A byte block that keeps its memory while asked for no more than it holds, so that frames and reader buffers
// settle after the first frame of a file. Growing replaces the block by a new, zero-filled, 64-byte aligned one.
class GrowableBuffer {
 public:
  GrowableBuffer() = default;
  ~GrowableBuffer() { Release(); }
  GrowableBuffer(GrowableBuffer&& other) noexcept { Swap(other); }
  GrowableBuffer& operator=(GrowableBuffer&& other) noexcept {
    GrowableBuffer(std::move(other)).Swap(*this);
    return *this;
  }

  // Returns the block, at least `size` bytes long; null only when the allocation fails.
  uint8_t* Ensure(size_t size);
  void Release();
  void Swap(GrowableBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
  }

  uint8_t* data() const { return data_; }
  size_t capacity() const { return capacity_; }

 private:
  uint8_t* data_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace vidmetra
