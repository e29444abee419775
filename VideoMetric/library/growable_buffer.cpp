#include "vidmetra/growable_buffer.h"

#include <cstdlib>
#include <cstring>

namespace vidmetra {

void GrowableBuffer::FreeDeleter::operator()(uint8_t* p) const { std::free(p); }

uint8_t* GrowableBuffer::Ensure(size_t size) {
  if (size <= capacity_ && data_) return data_.get();
  Release();
  constexpr size_t kAlignment = 64;
  const size_t rounded = (size + kAlignment - 1) / kAlignment * kAlignment;
  auto* block = static_cast<uint8_t*>(std::aligned_alloc(kAlignment, rounded == 0 ? kAlignment : rounded));
  if (block == nullptr) return nullptr;
  std::memset(block, 0, rounded == 0 ? kAlignment : rounded);
  data_.reset(block);
  capacity_ = size;
  return block;
}

void GrowableBuffer::Release() {
  data_.reset();
  capacity_ = 0;
}

}  // namespace vidmetra
