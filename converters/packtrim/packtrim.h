#pragma once
#include "vidmetra/converters/tool_description.h"

namespace vidmetra::converters {

ToolDescription PackTrimTool();

}  // namespace vidmetra::converters
