#pragma once
// The main dialog's rules about its three inputs, apart from any widget: when a run may start, what it refuses
// to start with, and which outputs the chosen files allow.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vidmetra::ui {

// Original, first processed, second processed.
using InputPaths = std::array<std::string, 3>;

// Whether `inputs` files are enough for a metric taking `input_count` inputs; any count but 1 and 2 never is.
bool IsReady(int32_t input_count, bool comparative, const InputPaths& paths);
// The first message that keeps a run from starting, or none.
std::optional<std::string> StartRefusal(int32_t input_count, bool comparative, const InputPaths& paths);
// Without comparison there is only one processed file to take bad frames from; with it, mode 0 means nothing.
int32_t FixedBadFrameMode(bool comparative, int32_t mode);
// Bad frames can be saved only when some chosen input is not a bitmap.
bool AllowsBadFrames(const InputPaths& paths);
// Raw YUV is recognised by the name alone, in any case.
bool IsRawYuvPath(const std::string& path);
// The colour modes a raw YUV file can be read in.
bool IsValidColourMode(int32_t mode);
void TrimTrailingSpaces(std::string& path);
// The open-file dialog's filter: the kinds the program reads by name, then each of them alone, then all files.
std::string InputFileFilter();

}  // namespace vidmetra::ui
