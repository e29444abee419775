#include "shell_paths.h"

#include "vidmetra/program_folder.h"

namespace vidmetra::ui {

ShellPaths DefaultShellPaths() {
  const std::string program = ProgramFolder();
  const std::string writable = WritableFolder(program);
  return ShellPaths{writable + "log.txt", writable + "codec_config", program.empty() ? std::string() : program + "help/"};
}

}  // namespace vidmetra::ui
