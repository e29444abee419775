#pragma once
#include <string>

namespace vidmetra::converters {

// The text a frame number takes in a numbered file name: right-aligned in `digits` characters with zeros in
// front when `digits` is above 0 (a longer number is kept whole), plain decimal otherwise.
std::string FrameNumberText(long long number, int digits);

// `folder` exactly as typed (no separator is added), then `pattern` with every "(*)" replaced by the frame
// number's text, then `extension`.
std::string NumberedFileName(const std::string& folder, const std::string& pattern, long long number, int digits,
                             const std::string& extension);

}  // namespace vidmetra::converters
