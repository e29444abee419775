#pragma once
// The per-user folders of the desktop's base-directory convention, each from its environment variable when that
// holds an absolute path, otherwise below the home folder. Empty when neither is known.
#include <filesystem>

namespace vidmetra {

std::filesystem::path UserConfigFolder();
std::filesystem::path UserStateFolder();

}  // namespace vidmetra
