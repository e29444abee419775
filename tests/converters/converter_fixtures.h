#pragma once
// Shared by the converter tests: running a tool on named field values, making numbered bitmaps, and the
// sequence colour formulas written out once more, plainly, as the independent reference.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vidmetra/converters/dib_image.h"
#include "vidmetra/converters/tool_description.h"

namespace vidmetra::testing {

std::string RunTool(const converters::ToolDescription& tool, const std::map<std::string, std::string>& fields);

// A 24-bit bitmap of pseudo-random pixels (the row padding stays zero).
converters::DibImage RandomBgrBitmap(int width, int height, uint32_t seed);
void WriteBitmap(const std::string& path, const converters::DibImage& image);

// Top-down R, G, B bytes of a bitmap, 3 per pixel, without padding.
std::vector<uint8_t> TopDownRgb(const converters::DibImage& image);

// The sequence frame of top-down R, G, B pixels by the tools' formulas, computed plainly.
std::vector<uint8_t> ReferenceSequenceFrame(const std::vector<uint8_t>& rgb, int width, int height);
// Top-down R, G, B pixels of a sequence frame by the tools' formulas, computed plainly.
std::vector<uint8_t> ReferenceRgb(const std::vector<uint8_t>& frame, int width, int height);

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t offset, size_t count);

}  // namespace vidmetra::testing
