#include "vidmetra/converters/tool_messages.h"

#include <new>
#include <stdexcept>

namespace vidmetra::converters {

bool ResizeBuffer(std::vector<uint8_t>& buffer, size_t bytes) {
  try {
    buffer.resize(bytes);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

}  // namespace vidmetra::converters
