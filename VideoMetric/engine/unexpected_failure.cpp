#include "vidmetra/unexpected_failure.h"

#include <exception>

namespace vidmetra {

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "unknown exception";
  }
}

void LogUnexpectedFailure(RunLog* log, const std::string& prefix) noexcept {
  if (log == nullptr) return;
  try {
    log->Write(prefix + CurrentExceptionText());
  } catch (...) {
    // Nothing is left to report it to.
  }
}

}  // namespace vidmetra
