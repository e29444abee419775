#pragma once
// The pixel conversions between whole frames, one function per (target <- source) pair. The target is already
// formatted to the source's size; none of them fills the border.
#include "vidmetra/rgb_yuv_kernels.h"
#include "vidmetra/video_frame.h"

namespace vidmetra {

struct ConversionOptions {
  const RgbYuvKernels* kernels;
  // RGB24 to 4:2:0 only: average chroma within each field of an interlaced picture.
  bool per_field;
};

using FrameConversion = void (*)(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);

inline uint8_t* PlaneRow(const PlaneLayout& plane, int y) {
  return plane.origin + static_cast<ptrdiff_t>(y) * plane.stride;
}

// Plane indices of U and V in the three-plane, 4:2:0 and 4:2:2 planar codes.
inline int UPlaneIndex(int colour_space) { return colour_space == kYv12 || colour_space == kYv16 ? 2 : 1; }
inline int VPlaneIndex(int colour_space) { return 3 - UPlaneIndex(colour_space); }

// Through the RGB row kernels.
void Rgb32ToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb24ToRgb32(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void YuvToRgb(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Yuy2ToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Planar420ToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void YToRgb32(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void RgbToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb24ToYuy2(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb24ToPlanar420(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb32ToY(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);

// Byte rearrangements and the analysis planes.
void PackedToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Planar420ToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void YToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Yuy2ToYv16(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Yv16ToYuy2(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void PlanarRgbToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void PlanarGDiffToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb24ToPlanarRgb(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb24ToPlanarGDiff(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb24ToPlanarYCbCr(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);
void Rgb24ToPlanarYrg(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);

// ConvertPixels with a chosen kernel set, so that both sets can be compared on whole frames.
bool ConvertPixelsWith(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options);

}  // namespace vidmetra
