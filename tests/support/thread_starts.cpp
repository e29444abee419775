#include "support/thread_starts.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>

namespace {

std::atomic<int64_t> g_started{0};

using CreateFunction = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

}  // namespace

// The executable's definition comes first in symbol lookup, so every thread start of the process (std::thread
// included) passes through here on its way to the C library's.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*),
                              void* argument) noexcept {
  static const auto next = reinterpret_cast<CreateFunction>(dlsym(RTLD_NEXT, "pthread_create"));
  g_started += 1;
  return next(thread, attributes, start, argument);
}

namespace vidmetra::testing {

int64_t ThreadsStarted() { return g_started.load(); }

}  // namespace vidmetra::testing
