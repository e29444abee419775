#include "vidmetra/growable_buffer.h"

#include "vidmetra/zeroed_memory.h"

namespace vidmetra {

uint8_t* GrowableBuffer::Ensure(size_t size) {
  if (size <= capacity_ && data_ != nullptr) return data_;
  Release();
  data_ = static_cast<uint8_t*>(AllocateZeroed(size));
  if (data_ != nullptr) capacity_ = size;
  return data_;
}

void GrowableBuffer::Release() {
  FreeZeroed(data_, capacity_);
  data_ = nullptr;
  capacity_ = 0;
}

}  // namespace vidmetra
