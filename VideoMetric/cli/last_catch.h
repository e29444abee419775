#pragma once
// The command line's last line of defence: whatever escapes a run becomes one line on standard error and a
// failure status, never the end of the process by std::terminate.
#include <cstdio>
#include <functional>

namespace vidmetra::cli {

// The exit code of `body`; 1 after writing "vidmetra-cli: unexpected error: ..." to `errors` when it throws.
int ExitCodeOf(const std::function<int()>& body, std::FILE* errors);

}  // namespace vidmetra::cli
