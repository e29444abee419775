#pragma once
#include <ostream>
#include <span>
#include <string>

#include "vidmetra/converters/tool_description.h"

namespace vidmetra::converters {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs the tool without a window: "--key value" (or "--key=value") per field, "--key" alone for a check box,
// "--help". Prints the message the dialog would show on `out` and returns 0 for "ok!", 1 for any other message,
// 2 for a usage error (described on `err`). `arguments` excludes the program name.
int RunCommandLine(const ToolDescription& tool, std::span<const std::string> arguments, std::ostream& out,
                   std::ostream& err);

std::string CommandLineHelp(const ToolDescription& tool);

}  // namespace vidmetra::converters
