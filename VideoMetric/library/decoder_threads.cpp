#include "vidmetra/decoder_threads.h"

#include <atomic>

namespace vidmetra {
namespace {

std::atomic<int> thread_count{0};

}  // namespace

int DecoderThreadCount() { return thread_count.load(std::memory_order_relaxed); }

void SetDecoderThreadCount(int count) { thread_count.store(count < 0 ? 0 : count, std::memory_order_relaxed); }

}  // namespace vidmetra
