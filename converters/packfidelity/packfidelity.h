#pragma once
#include <cstddef>
#include <cstdint>

#include "vidmetra/converters/tool_description.h"

namespace vidmetra::converters {

ToolDescription PackFidelityTool();

// The luma signal-to-noise ratio of two frames: 10 log10(255² / MSE), or 99.99 for identical planes.
double LumaSnr(const uint8_t* original, const uint8_t* compared, size_t pixels);

}  // namespace vidmetra::converters
