#pragma once
// What the ffmpeg program decodes from a file, frame by frame, in the layouts the AVI reader delivers.
#include <cstdint>
#include <string>
#include <vector>

namespace vidmetra::testing {

// Frames of `input` decoded by ffmpeg to `pixel_format` (yuv420p, yuyv422, yuv444p, gray, bgr24 or bgra) with exact scaler
// settings, rearranged into the reader's tight layout: YV12 plane order, RGB rows bottom first and padded to 4.
// Empty when ffmpeg fails.
std::vector<std::vector<uint8_t>> FfmpegDecodedFrames(const std::string& input, const std::string& pixel_format,
                                                      int width, int height, const std::string& scratch_file);

}  // namespace vidmetra::testing
