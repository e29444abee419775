#include "vidmetra/frame_preparation.h"

#include <algorithm>

#include "vidmetra/bytes_to_floats.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/frame_conversions.h"
#include "vidmetra/lightness_lanes.h"
#include "vidmetra/plane_colour.h"
#include "vidmetra/rgb_yuv_kernels.h"
#include "vidmetra/yuv_plane_rows.h"

namespace vidmetra {
namespace {

// A packed RGB picture read top row first.
struct UprightBgr {
  const uint8_t* top;
  ptrdiff_t stride;
  int step;
};

// Frames keep the file's bottom-up row order, so the top row is the last stored one.
UprightBgr UprightView(const VideoFrame& frame) {
  const PlaneLayout plane = frame.Plane(0);
  return UprightBgr{plane.origin + static_cast<ptrdiff_t>(plane.height - 1) * plane.stride, -plane.stride,
                    plane.unit};
}

// Calls `store(index, r, g, b)` for every pixel, top row first.
template <typename Store>
void ForEachPixel(const UprightBgr& view, const PlaneFrame& planes, Store store) {
  size_t index = 0;
  for (int y = 0; y < planes.height(); ++y) {
    const uint8_t* pixel = view.top + y * view.stride;
    for (int x = 0; x < planes.width(); ++x, pixel += view.step, ++index) {
      store(index, static_cast<float>(pixel[2]), static_cast<float>(pixel[1]), static_cast<float>(pixel[0]));
    }
  }
}

// One YUV or L plane straight from the bytes; the same values the full path reaches through R, G, B planes.
void FillSinglePlaneFromBgr(const UprightBgr& view, PlaneFrame& planes, int component, int matrix) {
  const bool lightness = component == kComponentL;
  planes.content = lightness ? kContentL : kContentYuv;
  planes.matrix = matrix;
  if (!IsKnownColourMatrix(matrix)) return;
  float* out = planes.ComponentPlane(component);
  if (lightness) {
    LightnessWriter writer(out);
    ForEachPixel(view, planes, [&](size_t, float r, float g, float b) { writer.Add(LumaForLightness(matrix, r, g, b)); });
    writer.Flush();
  } else {
    ForEachPixel(view, planes,
                 [&](size_t i, float r, float g, float b) { out[i] = YuvFromRgb(matrix, component, r, g, b); });
  }
}

bool PrepareFromRgb(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes, int component, int matrix,
                    bool all_planes) {
  const VideoFrame* rgb = &decoded;
  if (decoded.colour_space() == kPlanarRgb) {
    if (!scratch.ConvertFrom(decoded, kRgb24, 0, false)) return false;
    rgb = &scratch;
  }
  const UprightBgr view = UprightView(*rgb);
  if (!all_planes && (IsYuvComponent(component) || IsLuvComponent(component))) {
    FillSinglePlaneFromBgr(view, planes, component, matrix);
    return true;
  }
  FillFromBgr(planes, view.top, view.stride, view.step);
  if (IsYuvComponent(component)) ConvertRgbToYuv(planes, matrix);
  if (IsLuvComponent(component)) ComputeL(planes, matrix);
  return true;
}

// YUV-like codes whose luma a built-in can read in place: those that also convert to planar 4:4:4.
bool HasReadableLuma(int colour_space) { return colour_space >= kYuv && colour_space <= kY; }

// Y as bytes, for a metric that reads them in place of the floats they widen to.
void KeepLumaBytes(const PlaneLayout& plane, int offset, PlaneFrame& planes) {
  uint8_t* out = planes.KeepBytes(kComponentY);
  const auto width = static_cast<size_t>(planes.width());
  for (int y = 0; y < planes.height(); ++y, out += width) {
    const uint8_t* sample = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride + offset;
    if (plane.unit == 1) {
      std::copy_n(sample, width, out);
    } else {
      for (size_t x = 0; x < width; ++x) out[x] = sample[x * static_cast<size_t>(plane.unit)];
    }
  }
  planes.content = kContentYuv;
}

void FillLumaDerived(const VideoFrame& decoded, PlaneFrame& planes, int component, int matrix, ByteKeeping keeping) {
  const PlaneLayout plane = decoded.Plane(0);
  const int offset = decoded.colour_space() == kUyvy ? 1 : 0;
  if (keeping != ByteKeeping::kNone && component == kComponentY) {
    KeepLumaBytes(plane, offset, planes);
    return;
  }
  float* out = planes.ComponentPlane(component);
  const bool lightness = component == kComponentL;
  for (int y = 0; y < planes.height(); ++y) {
    const uint8_t* sample = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride + offset;
    if (lightness) {
      const std::array<float, 256>& table = LightnessOfBytes();
      for (int x = 0; x < planes.width(); ++x) *out++ = table[sample[x * plane.unit]];
    } else if (plane.unit == 1) {
      BytesToFloats(sample, out, static_cast<size_t>(planes.width()));
      out += planes.width();
    } else {
      for (int x = 0; x < planes.width(); ++x) *out++ = sample[x * plane.unit];
    }
  }
  planes.content = lightness ? kContentL : kContentYuv;
  if (lightness) planes.matrix = matrix;
}

// Planar layouts whose chroma rows a single U, V, R, G or B plane is computed from in place: 4:4:4 and 4:2:0.
bool HasReadableChroma(int colour_space) {
  return colour_space == kYuv || colour_space == kYv12 || colour_space == kIyuv;
}

// The planes of a frame with readable chroma, looked up once per frame rather than per row.
struct YuvSourcePlanes {
  PlaneLayout luma, u, v;
  bool halved;
};

YuvSourcePlanes SourcePlanes(const VideoFrame& decoded) {
  const int colour_space = decoded.colour_space();
  return {decoded.Plane(0), decoded.Plane(UPlaneIndex(colour_space)), decoded.Plane(VPlaneIndex(colour_space)),
          colour_space != kYuv};
}

YuvSourceRow SourceRow(const YuvSourcePlanes& planes, int y) {
  const int chroma_row = planes.halved ? ChromaIndex420(y, planes.luma.height) : y;
  return {PlaneRow(planes.luma, y), PlaneRow(planes.u, chroma_row), PlaneRow(planes.v, chroma_row),
          planes.luma.width, planes.halved};
}

// Sets the content and matrix as the full preparation of the component leaves them; false when nothing is to be
// computed (an RGB component under an unknown matrix).
bool StartChromaDerived(PlaneFrame& planes, int component, int matrix) {
  const bool rgb = IsRgbComponent(component);
  planes.content = rgb ? kContentRgb : kContentYuv;
  if (!rgb) return true;
  planes.matrix = matrix;
  return IsKnownColourMatrix(matrix);
}

void FillChromaRow(const YuvPlaneRowKernels& kernels, const YuvSourceRow& row, int component, int matrix, float* out) {
  if (IsRgbComponent(component)) {
    kernels.rgb(row, component, matrix, out);
  } else {
    kernels.chroma(component == kComponentU ? row.u : row.v, row.width, row.halved, out);
  }
}

// U or V as the bytes read, one per pixel.
void KeepChromaBytes(const VideoFrame& decoded, PlaneFrame& planes, int component) {
  const YuvPlaneRowKernels& kernels = ActiveYuvPlaneRowKernels();
  uint8_t* out = planes.KeepBytes(component);
  const YuvSourcePlanes source = SourcePlanes(decoded);
  for (int y = 0; y < planes.height(); ++y, out += planes.width()) {
    const YuvSourceRow row = SourceRow(source, y);
    kernels.chroma_bytes(component == kComponentU ? row.u : row.v, row.width, row.halved, out);
  }
}

// The component's plane alone; the content and matrix end as the full preparation leaves them.
void FillChromaDerived(const VideoFrame& decoded, PlaneFrame& planes, int component, int matrix, ByteKeeping keeping) {
  if (!StartChromaDerived(planes, component, matrix)) return;
  if (keeping == ByteKeeping::kDifferences && (component == kComponentU || component == kComponentV)) {
    KeepChromaBytes(decoded, planes, component);
    return;
  }
  float* out = planes.ComponentPlane(component);
  const YuvSourcePlanes source = SourcePlanes(decoded);
  const YuvPlaneRowKernels& kernels = ActiveYuvPlaneRowKernels();
  for (int y = 0; y < planes.height(); ++y, out += planes.width()) {
    FillChromaRow(kernels, SourceRow(source, y), component, matrix, out);
  }
}

bool IsPackedYuv(int colour_space) { return colour_space == kYuy2 || colour_space == kUyvy; }

// The same from a packed 4:2:2 frame of even width: stretches of each row are parted into Y, U and V rows, which
// the row kernels take as chroma halved along the row (an even width has no odd last pair).
void FillPackedChromaDerived(const VideoFrame& decoded, PlaneFrame& planes, int component, int matrix) {
  if (!StartChromaDerived(planes, component, matrix)) return;
  const bool uyvy = decoded.colour_space() == kUyvy;
  const int luma = uyvy ? 1 : 0, u = uyvy ? 0 : 1, v = uyvy ? 2 : 3;  // byte offsets within a pixel pair
  const PlaneLayout plane = decoded.Plane(0);
  constexpr int kStretch = 1024;
  uint8_t ys[kStretch], us[kStretch / 2], vs[kStretch / 2];
  float* out = planes.ComponentPlane(component);
  const YuvPlaneRowKernels& kernels = ActiveYuvPlaneRowKernels();
  for (int y = 0; y < planes.height(); ++y, out += planes.width()) {
    const uint8_t* row = PlaneRow(plane, y);
    for (int x = 0; x < planes.width(); x += kStretch) {
      const int count = std::min(kStretch, planes.width() - x);
      const uint8_t* pair = row + 2 * static_cast<ptrdiff_t>(x);
      for (int i = 0; i < count / 2; ++i, pair += 4) {
        ys[2 * i] = pair[luma];
        ys[2 * i + 1] = pair[luma + 2];
        us[i] = pair[u];
        vs[i] = pair[v];
      }
      FillChromaRow(kernels, {ys, us, vs, count, true}, component, matrix, out + x);
    }
  }
}

bool PrepareFromYuv(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes, int component, int matrix,
                    bool all_planes, ByteKeeping keeping) {
  if (!all_planes && (component == kComponentY || component == kComponentL) &&
      HasReadableLuma(decoded.colour_space())) {
    FillLumaDerived(decoded, planes, component, matrix, keeping);
    return true;
  }
  if (!all_planes && !IsLuvComponent(component) && HasReadableChroma(decoded.colour_space())) {
    FillChromaDerived(decoded, planes, component, matrix, keeping);
    return true;
  }
  if (!all_planes && !IsLuvComponent(component) && IsPackedYuv(decoded.colour_space()) && decoded.width() % 2 == 0) {
    FillPackedChromaDerived(decoded, planes, component, matrix);
    return true;
  }
  const VideoFrame* yuv = &decoded;
  if (decoded.colour_space() != kYuv) {
    if (!scratch.ConvertFrom(decoded, kYuv, 0, false)) return false;
    yuv = &scratch;
  }
  FillFromYuv444(planes, *yuv);
  if (IsRgbComponent(component)) ConvertYuvToRgb(planes, matrix);
  if (IsLuvComponent(component)) ComputeL(planes, matrix);
  return true;
}

}  // namespace

bool PrepareFrame(const VideoFrame& decoded, VideoFrame& scratch, PlaneFrame& planes, int component, int colour_matrix,
                  bool all_planes, ByteKeeping keeping) {
  const int colour_space = decoded.colour_space();
  const bool rgb = IsRgbLike(colour_space);
  if (!rgb && !IsYuvLike(colour_space)) return true;
  if (!decoded.HasPixels() || !planes.valid() || planes.width() != decoded.width() ||
      planes.height() != decoded.height()) {
    return false;
  }
  planes.DropBytes();
  return rgb ? PrepareFromRgb(decoded, scratch, planes, component, colour_matrix, all_planes)
             : PrepareFromYuv(decoded, scratch, planes, component, colour_matrix, all_planes,
                              all_planes ? ByteKeeping::kNone : keeping);
}

int SharedPreparationComponent(int component, int colour_space) {
  // Planar and packed layouts give each chroma plane straight from its own rows, which is cheaper than sharing a
  // conversion (packed frames of odd width, converted, fill both planes and so serve either component).
  const bool converted = IsYuvLike(colour_space) && !HasReadableChroma(colour_space) && !IsPackedYuv(colour_space);
  return component == kComponentV && converted ? kComponentU : component;
}

}  // namespace vidmetra
