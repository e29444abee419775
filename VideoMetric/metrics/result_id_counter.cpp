#include "vidmetra/frame_result.h"

namespace vidmetra {

int32_t& ResultIdCounter() {
  static int32_t counter = 0;
  return counter;
}

int32_t TakeResultId() { return ResultIdCounter()++; }

}  // namespace vidmetra
