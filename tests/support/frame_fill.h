#pragma once
// Generated picture content for frame and conversion tests.
#include <cstdint>

#include "vidmetra/video_frame.h"

namespace vidmetra::testing {

// Every picture sample of every plane from a seeded generator, then the border.
void FillRandom(VideoFrame& frame, uint32_t seed);
// Pixel (x, stored row y) of a packed RGB frame.
void SetBgr(VideoFrame& frame, int x, int y, uint8_t b, uint8_t g, uint8_t r);
// Byte `byte` of sample (x, y) of a plane.
uint8_t SampleAt(const VideoFrame& frame, int plane, int x, int y, int byte = 0);

}  // namespace vidmetra::testing
