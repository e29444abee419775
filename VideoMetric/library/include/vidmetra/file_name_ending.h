#pragma once
#include <string_view>

namespace vidmetra {

// Whether `name` ends in `ending`, ignoring ASCII case. A name shorter than the ending never matches.
bool HasEnding(std::string_view name, std::string_view ending);

}  // namespace vidmetra
