#pragma once
#include "vidmetra/converters/tool_description.h"

namespace vidmetra::converters {

ToolDescription PackReelTool();

}  // namespace vidmetra::converters
