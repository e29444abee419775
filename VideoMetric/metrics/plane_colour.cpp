#include "vidmetra/plane_colour.h"

#include "vidmetra/lightness_lanes.h"


namespace vidmetra {
namespace {

size_t SampleCount(const PlaneFrame& planes) {
  return static_cast<size_t>(planes.width()) * static_cast<size_t>(planes.height());
}

// Moves planes that hold `from` to `to` with the matrix recorded; true when the matrix says how to compute them.
bool SwitchContent(PlaneFrame& planes, int from, int to, int matrix) {
  if (planes.content != from) return false;
  planes.content = to;
  planes.matrix = matrix;
  return IsKnownColourMatrix(matrix);
}

}  // namespace

void FillFromBgr(PlaneFrame& planes, const uint8_t* pixels, ptrdiff_t stride, int step) {
  PlaneFrame& p = planes;
  float *r = p.R(), *g = p.G(), *b = p.B();
  for (int y = 0; y < p.height(); ++y) {
    const uint8_t* row = pixels + y * stride;
    for (int x = 0; x < p.width(); ++x, row += step, ++r, ++g, ++b) {
      *b = row[0];
      *g = row[1];
      *r = row[2];
    }
  }
  planes.content = kContentRgb;
}

void FillFromYuv444(PlaneFrame& planes, const VideoFrame& frame) {
  float* out[3] = {planes.Y(), planes.U(), planes.V()};
  for (int k = 0; k < 3; ++k) {
    const PlaneLayout plane = frame.Plane(k);
    const float offset = k == 0 ? 0.0f : 128.0f;
    float* sample = out[k];
    for (int y = 0; y < planes.height(); ++y) {
      const uint8_t* row = plane.origin + static_cast<ptrdiff_t>(y) * plane.stride;
      for (int x = 0; x < planes.width(); ++x) *sample++ = static_cast<float>(row[x]) - offset;
    }
  }
  planes.content = kContentYuv;
}

void ConvertYuvToRgb(PlaneFrame& planes, int matrix) {
  if (!SwitchContent(planes, kContentYuv, kContentRgb, matrix)) return;
  const float *y = planes.Y(), *u = planes.U(), *v = planes.V();
  float *r = planes.R(), *g = planes.G(), *b = planes.B();
  const size_t count = SampleCount(planes);
  for (size_t i = 0; i < count; ++i) {
    r[i] = RgbFromYuv(matrix, kComponentR, y[i], u[i], v[i]);
    g[i] = RgbFromYuv(matrix, kComponentG, y[i], u[i], v[i]);
    b[i] = RgbFromYuv(matrix, kComponentB, y[i], u[i], v[i]);
  }
}

void ConvertRgbToYuv(PlaneFrame& planes, int matrix) {
  if (!SwitchContent(planes, kContentRgb, kContentYuv, matrix)) return;
  const float *r = planes.R(), *g = planes.G(), *b = planes.B();
  float* out[3] = {planes.Y(), planes.U(), planes.V()};
  const size_t count = SampleCount(planes);
  for (int component = 0; component < 3; ++component) {
    for (size_t i = 0; i < count; ++i) out[component][i] = YuvFromRgb(matrix, component, r[i], g[i], b[i]);
  }
}

void ComputeL(PlaneFrame& planes, int matrix) {
  if (planes.content == kContentL) return;
  const bool from_yuv = planes.content == kContentYuv;
  planes.content = kContentL;
  planes.matrix = matrix;
  if (!from_yuv && !IsKnownColourMatrix(matrix)) return;
  const float *y = planes.Y(), *r = planes.R(), *g = planes.G(), *b = planes.B();
  float* l = planes.L();
  const size_t count = SampleCount(planes);
  LightnessWriter writer(l);
  for (size_t i = 0; i < count; ++i) writer.Add(from_yuv ? y[i] : LumaForLightness(matrix, r[i], g[i], b[i]));
  writer.Flush();
}

const std::array<float, 256>& LightnessOfBytes() {
  static const auto table = [] {
    std::array<float, 256> values{};
    for (size_t i = 0; i < values.size(); ++i) values[i] = LightnessOf(RelativeLuminance(static_cast<double>(i)));
    return values;
  }();
  return table;
}

}  // namespace vidmetra
