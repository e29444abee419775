#pragma once
// Where the program keeps its own files. Tests point these into a scratch folder.
#include <string>

namespace vidmetra::ui {

struct ShellPaths {
  std::string log_file;      // "log.txt", appended by every run
  std::string codec_config;  // the persisted compressor choice
  std::string help_folder;   // the shipped help pages, ending in a separator
};

// Beside the program; the program's own files move to the user's state folder when that one is read-only.
ShellPaths DefaultShellPaths();

}  // namespace vidmetra::ui
