#pragma once
#include <string>

namespace vidmetra {

// The folder of the running program file, ending in the path separator; empty when it cannot be found.
std::string ProgramFolder();

// `preferred` when files can be created in it, otherwise the user's state folder for the program (created when
// missing), so that the program's own files ("log.txt", "codec_config") still have a place beside an installed,
// read-only program. Both end in the path separator.
std::string WritableFolder(const std::string& preferred);

}  // namespace vidmetra
