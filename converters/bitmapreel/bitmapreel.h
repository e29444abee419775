#pragma once
#include "vidmetra/converters/tool_description.h"

namespace vidmetra::converters {

ToolDescription BitmapReelTool();

}  // namespace vidmetra::converters
