#pragma once
// Runs a shell command for interoperability and command-line tests.
#include <string>

namespace vidmetra::testing {

struct CommandResult {
  int exit_code = -1;
  std::string output;  // standard output
};

CommandResult RunCommand(const std::string& command);
bool HaveProgram(const std::string& name);

}  // namespace vidmetra::testing
