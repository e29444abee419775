#pragma once
// RGB24 targets for metric visualizations and access to what was drawn.
#include <memory>

#include "vidmetra/map_renderer.h"
#include "vidmetra/video_frame.h"

namespace vidmetra::testing {

// A target of the given size with border 0, as the engine hands it to MeasureAndVisualize.
std::unique_ptr<VideoFrame> MakeTarget(int width, int height);
// The pixel at column x of stored row `row`.
Bgr PixelAt(const VideoFrame& target, int x, int row);
bool SameColour(Bgr left, Bgr right);
// True when every pixel of the picture has this colour.
bool AllPixels(const VideoFrame& target, Bgr colour);

}  // namespace vidmetra::testing
