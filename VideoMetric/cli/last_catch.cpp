#include "last_catch.h"

#include "vidmetra/unexpected_failure.h"

namespace vidmetra::cli {

int ExitCodeOf(const std::function<int()>& body, std::FILE* errors) {
  try {
    return body();
  } catch (...) {
    try {
      std::fprintf(errors, "vidmetra-cli: unexpected error: %s\n", CurrentExceptionText().c_str());
    } catch (...) {
      // Not even the message could be composed; the status still says it.
    }
    return 1;
  }
}

}  // namespace vidmetra::cli
