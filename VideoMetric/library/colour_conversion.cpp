// Which (target <- source) pairs of colour spaces convert, and by which routine.
#include "vidmetra/frame_conversions.h"

namespace vidmetra {
namespace {

struct ConversionPair {
  int target;
  int source;
  FrameConversion convert;
};

constexpr ConversionPair kPairs[] = {
    {kRgb24, kRgb32, Rgb32ToRgb24},
    {kRgb24, kYuv, YuvToRgb},
    {kRgb24, kYuy2, Yuy2ToRgb24},
    {kRgb24, kYv12, Planar420ToRgb24},
    {kRgb24, kIyuv, Planar420ToRgb24},
    {kRgb24, kPlanarRgb, PlanarRgbToRgb24},
    {kRgb24, kPlanarGDiff, PlanarGDiffToRgb24},
    {kRgb32, kRgb24, Rgb24ToRgb32},
    {kRgb32, kYuv, YuvToRgb},
    {kRgb32, kY, YToRgb32},
    {kYuv, kRgb24, RgbToYuv},
    {kYuv, kRgb32, RgbToYuv},
    {kYuv, kYuy2, PackedToYuv},
    {kYuv, kUyvy, PackedToYuv},
    {kYuv, kYv12, Planar420ToYuv},
    {kYuv, kIyuv, Planar420ToYuv},
    {kYuv, kY, YToYuv},
    {kYuy2, kRgb24, Rgb24ToYuy2},
    {kYuy2, kYv16, Yv16ToYuy2},
    {kYv12, kRgb24, Rgb24ToPlanar420},
    {kIyuv, kRgb24, Rgb24ToPlanar420},
    {kY, kRgb32, Rgb32ToY},
    {kYv16, kYuy2, Yuy2ToYv16},
    {kPlanarRgb, kRgb24, Rgb24ToPlanarRgb},
    {kPlanarGDiff, kRgb24, Rgb24ToPlanarGDiff},
    {kPlanarYCbCr, kRgb24, Rgb24ToPlanarYCbCr},
    {kPlanarYrg, kRgb24, Rgb24ToPlanarYrg},
};

}  // namespace

bool ConvertPixelsWith(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  for (const ConversionPair& pair : kPairs) {
    if (pair.target == target.colour_space() && pair.source == source.colour_space()) {
      pair.convert(target, source, options);
      return true;
    }
  }
  return false;
}

bool ConvertPixels(VideoFrame& target, const VideoFrame& source, bool per_field) {
  return ConvertPixelsWith(target, source, ConversionOptions{&ActiveRgbYuvKernels(), per_field});
}

}  // namespace vidmetra
