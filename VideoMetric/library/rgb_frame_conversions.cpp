// Frame conversions that go through the RGB row kernels: each walks the rows and hands them to the chosen set.
#include <algorithm>

#include "vidmetra/frame_conversions.h"

namespace vidmetra {
namespace {

// Row `row` of a picture `rows` high whose even rows were stacked above its odd rows.
int FieldRow(int row, int rows) {
  const int even_rows = (rows + 1) / 2;
  return row < even_rows ? 2 * row : 2 * (row - even_rows) + 1;
}

}  // namespace

void Rgb32ToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout from = source.Plane(0), to = target.Plane(0);
  for (int y = 0; y < from.height; ++y) options.kernels->rgb32_to_rgb24(PlaneRow(from, y), PlaneRow(to, y), from.width);
}

void Rgb24ToRgb32(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout from = source.Plane(0), to = target.Plane(0);
  for (int y = 0; y < from.height; ++y) options.kernels->rgb24_to_rgb32(PlaneRow(from, y), PlaneRow(to, y), from.width);
}

void YuvToRgb(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout y_plane = source.Plane(0), u_plane = source.Plane(1), v_plane = source.Plane(2);
  const PlaneLayout to = target.Plane(0);
  for (int y = 0; y < y_plane.height; ++y) {
    options.kernels->yuv_to_rgb(PlaneRow(y_plane, y), PlaneRow(u_plane, y), PlaneRow(v_plane, y), PlaneRow(to, y),
                                to.unit, y_plane.width);
  }
}

void Yuy2ToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout from = source.Plane(0), to = target.Plane(0);
  for (int y = 0; y < from.height; ++y) options.kernels->yuy2_to_rgb24(PlaneRow(from, y), PlaneRow(to, y), from.width);
}

void Planar420ToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const int cs = source.colour_space();
  const PlaneLayout y_plane = source.Plane(0), u_plane = source.Plane(UPlaneIndex(cs)),
                    v_plane = source.Plane(VPlaneIndex(cs)), to = target.Plane(0);
  for (int y = 0; y < y_plane.height; ++y) {
    const int c = ChromaIndex420(y, y_plane.height);
    options.kernels->yuv420_to_rgb24(PlaneRow(y_plane, y), PlaneRow(u_plane, c), PlaneRow(v_plane, c),
                                     PlaneRow(to, y), y_plane.width);
  }
}

void YToRgb32(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout from = source.Plane(0), to = target.Plane(0);
  for (int y = 0; y < from.height; ++y) options.kernels->y_to_rgb32(PlaneRow(from, y), PlaneRow(to, y), from.width);
}

void RgbToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout from = source.Plane(0);
  const PlaneLayout y_plane = target.Plane(0), u_plane = target.Plane(1), v_plane = target.Plane(2);
  for (int y = 0; y < from.height; ++y) {
    options.kernels->rgb_to_yuv(PlaneRow(from, y), from.unit, PlaneRow(y_plane, y), PlaneRow(u_plane, y),
                                PlaneRow(v_plane, y), from.width);
  }
}

void Rgb24ToYuy2(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout from = source.Plane(0), to = target.Plane(0);
  for (int y = 0; y < from.height; ++y) options.kernels->rgb24_to_yuy2(PlaneRow(from, y), PlaneRow(to, y), from.width);
}

// Rows are taken in pairs; with an odd height the last pair is the last two rows. Per field, the pairs and the
// chroma rows are those of the picture with its even rows stacked above its odd rows, put back in place.
void Rgb24ToPlanar420(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const int cs = target.colour_space();
  const PlaneLayout from = source.Plane(0), y_plane = target.Plane(0), u_plane = target.Plane(UPlaneIndex(cs)),
                    v_plane = target.Plane(VPlaneIndex(cs));
  const int height = from.height, chroma_rows = (height + 1) / 2;
  for (int pair = 0; pair < chroma_rows; ++pair) {
    int top = 2 * pair;
    if (top + 1 >= height) top = std::max(height - 2, 0);
    int bottom = std::min(top + 1, height - 1);
    int chroma_row = pair;
    if (options.per_field) {
      top = FieldRow(top, height);
      bottom = FieldRow(bottom, height);
      chroma_row = FieldRow(pair, chroma_rows);
    }
    options.kernels->rgb24_to_420(PlaneRow(from, top), PlaneRow(from, bottom), PlaneRow(y_plane, top),
                                  PlaneRow(y_plane, bottom), PlaneRow(u_plane, chroma_row),
                                  PlaneRow(v_plane, chroma_row), from.width);
  }
}

void Rgb32ToY(VideoFrame& target, const VideoFrame& source, const ConversionOptions& options) {
  const PlaneLayout from = source.Plane(0), to = target.Plane(0);
  for (int y = 0; y < from.height; ++y) options.kernels->rgb_to_y(PlaneRow(from, y), 4, PlaneRow(to, y), from.width);
}

}  // namespace vidmetra
