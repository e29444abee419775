#pragma once
// Turning a decoded frame into the float planes a metric measures.
#include "vidmetra/plane_frame.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {

// Fills `planes` (of the decoded frame's size) for `component` under `colour_matrix`, with row 0 of every plane
// the top row of the picture. RGB-like frames are taken as bottom-up, as readers deliver them; YUV-like frames
// as top-down. `scratch` is a frame the caller keeps for the whole run.
// With `all_planes` every plane that the full preparation defines is filled: R, G, B for RGB input or Y, U, V
// for YUV input, plus the planes of the component's colour space. Without it only the component's own plane is
// guaranteed, which is all a built-in metric reads.
// Without `all_planes`, `keeping` may let the component's plane be kept as bytes (PlaneFrame::ComponentBytes),
// its float plane left as it was.
// Returns false when the frame cannot be converted (no pixels, an unsupported colour space such as YV16, a
// failed allocation) or `planes` does not match the frame's size; frames in other colour spaces are left alone
// and give true.
enum class ByteKeeping {
  kNone,
  kExact,        // Y of planar and packed 8-bit YUV frames: the floats are the bytes
  kDifferences,  // also U and V of planar 4:4:4 and 4:2:0 frames (the floats are the bytes − 128), for metrics
                 // whose values depend on nothing but differences of the inputs' samples
};
bool PrepareFrame(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes, int component, int colour_matrix,
                  bool all_planes, ByteKeeping keeping = ByteKeeping::kNone);

// The component whose preparation (without `all_planes`) of a `colour_space` frame fills the plane of
// `component` with the very values its own would: U and V of a Y-only frame both come from one conversion to
// 4:4:4, so one preparation serves both; every other component, and U and V of planar and packed frames (read in
// place), is its own.
int SharedPreparationComponent(int component, int colour_space);

}  // namespace vidmetra
