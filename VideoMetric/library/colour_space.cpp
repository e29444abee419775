#include "vidmetra/colour_space.h"

namespace vidmetra {

int AllocationFactor(int colour_space) {
  switch (colour_space) {
    case kRgb24: case kYuv: case kPlanarRgb: case kPlanarGDiff: case kPlanarYCbCr: case kPlanarYrg:
      return 3;
    case kYuy2: case kUyvy: case kYv12: case kIyuv: case kYv16:
      return 2;
    case kY:
      return 1;
    default:
      return 4;
  }
}

int PixelStep(int colour_space) {
  switch (colour_space) {
    case kRgb24:
      return 3;
    case kYuv: case kYv12: case kIyuv: case kY: case kYv16:
    case kPlanarRgb: case kPlanarGDiff: case kPlanarYCbCr: case kPlanarYrg:
      return 1;
    case kYuy2: case kUyvy:
      return 2;
    default:
      return 4;
  }
}

int64_t RowBytes(int colour_space, int64_t width) {
  switch (colour_space) {
    case kRgb24:
      return (3 * width + 3) & ~int64_t{3};
    case kRgb32:
      return (4 * width + 7) & ~int64_t{7};
    case kYuy2: case kUyvy:
      return 2 * width;
    default:
      return width;
  }
}

bool IsThreePlane(int colour_space) {
  return colour_space == kYuv || (colour_space >= kPlanarRgb && colour_space <= kPlanarYrg);
}

bool IsPlanar420(int colour_space) { return colour_space == kYv12 || colour_space == kIyuv; }

int64_t TightFrameBytes(int colour_space, int64_t width, int64_t height) {
  if (colour_space < kRgb24 || colour_space > kPlanarYrg) return 0;
  if (IsThreePlane(colour_space)) return 3 * width * height;
  if (IsPlanar420(colour_space)) return width * height + 2 * ((width + 1) / 2) * ((height + 1) / 2);
  if (colour_space == kYv16) return width * height + 2 * (width / 2) * height;
  return RowBytes(colour_space, width) * height;
}

bool IsRgbLike(int colour_space) {
  return colour_space == kRgb24 || colour_space == kRgb32 || colour_space == kPlanarRgb;
}

bool IsYuvLike(int colour_space) { return colour_space >= kYuv && colour_space <= kYv16; }

const char* ColourSpaceLabel(int colour_space) {
  static const char* const kLabels[] = {"RGB24", "RGB32", "YUV", "YUY2", "UYVY", "YV12", "IYUV", "Y"};
  if (colour_space < kRgb24 || colour_space > kY) return "";
  return kLabels[colour_space];
}

}  // namespace vidmetra
