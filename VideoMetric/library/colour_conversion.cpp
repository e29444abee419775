#include "vidmetra/video_frame.h"

namespace vidmetra {

// No pair has a pixel conversion yet; ConvertFrom still copies between equal colour spaces.
bool ConvertPixels(VideoFrame& /*target*/, const VideoFrame& /*source*/, bool /*per_field*/) { return false; }

}  // namespace vidmetra
