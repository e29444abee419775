#pragma once
// Counts the threads the process starts, so that a test can pin that some work starts none. Linking this
// helper puts a counting pthread_create in front of the system's.
#include <cstdint>

namespace vidmetra::testing {

// Threads started through pthread_create since the process began.
int64_t ThreadsStarted();

}  // namespace vidmetra::testing
