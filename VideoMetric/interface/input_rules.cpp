#include "input_rules.h"

#include "vidmetra/colour_space.h"
#include "vidmetra/ascii_case.h"
#include "vidmetra/file_name_ending.h"
#include "vidmetra/media_file_reader.h"

namespace vidmetra::ui {

bool IsReady(int32_t input_count, bool comparative, const InputPaths& paths) {
  const bool original = !paths[0].empty();
  const bool first = !paths[1].empty();
  const bool second = !paths[2].empty();
  if (input_count == 1) return comparative ? first && second : original || first;
  if (input_count == 2) return original && first && (!comparative || second);
  return false;
}

std::optional<std::string> StartRefusal(int32_t input_count, bool comparative, const InputPaths& paths) {
  const bool original = !paths[0].empty();
  const bool first = !paths[1].empty();
  if (input_count == 2 && !original) return "Choose original file!";
  if (input_count == 2 && !first) return "Choose first processed file!";
  if (input_count == 1 && !original && !first) return "Choose at least original or first processed file!";
  if (comparative && input_count == 1 && !first) return "Choose first processed file!";
  if (comparative && paths[2].empty()) return "Choose second processed file!";
  return std::nullopt;
}

int32_t FixedBadFrameMode(bool comparative, int32_t mode) {
  if (!comparative) return 0;
  return mode == 0 ? 1 : mode;
}

bool AllowsBadFrames(const InputPaths& paths) {
  for (const std::string& path : paths) {
    if (!path.empty() && !HasEnding(path, "bmp")) return true;
  }
  return false;
}

bool IsRawYuvPath(const std::string& path) { return HasEnding(path, "yuv"); }

bool IsValidColourMode(int32_t mode) { return mode >= kYuv && mode <= kYv16; }

void TrimTrailingSpaces(std::string& path) {
  const size_t end = path.find_last_not_of(' ');
  path.erase(end == std::string::npos ? 0 : end + 1);
}

std::string InputFileFilter() {
  // Patterns in both cases, as for the kinds the first filter names, for file systems that tell case apart.
  std::string lower, upper;
  for (const std::string_view ending : vidmetra::MediaFileEndings()) {
    lower.append(lower.empty() ? "*" : " *").append(ending);
    upper.append(" *").append(ToUpperAscii(ending));
  }
  return "All supported files (AVI / AVS / BMP / YUV) (*.avi *.bmp *.yuv *.avs *.AVI *.BMP *.YUV *.AVS);;"
         "Video files read through FFmpeg (" + lower + upper + ");;"
         "AVI files (*.avi *.AVI);;AviSynth scripts (*.avs *.AVS);;Bitmaps (*.bmp *.BMP);;"
         "Raw YUV (*.yuv *.YUV);;All files (*)";
}

}  // namespace vidmetra::ui
