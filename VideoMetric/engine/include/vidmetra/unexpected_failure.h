#pragma once
// The last line of defence at the engine's boundaries: whatever a component throws that it should not (a
// plug-in's exception, memory running out) becomes a log line and a failure status, never the end of the
// process.
#include <string>

#include "vidmetra/run_interfaces.h"

namespace vidmetra {

// To be called inside a catch block: what the exception being handled says.
std::string CurrentExceptionText();

// Inside a catch block: writes `prefix` and the exception's text to `log` (when there is one). A log that
// fails as well is given up on; nothing leaves this function.
void LogUnexpectedFailure(RunLog* log, const std::string& prefix) noexcept;

}  // namespace vidmetra
