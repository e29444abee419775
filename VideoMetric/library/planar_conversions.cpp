// Frame conversions that only rearrange bytes, and the analysis planes derived from RGB24.
#include <algorithm>
#include <cstring>

#include "vidmetra/colour_formulas.h"
#include "vidmetra/frame_conversions.h"

namespace vidmetra {
namespace {

struct ThreePlanes {
  PlaneLayout p0, p1, p2;
};

ThreePlanes PlanesOf(const VideoFrame& frame) { return {frame.Plane(0), frame.Plane(1), frame.Plane(2)}; }

// Calls `convert(b, g, r, out0, out1, out2)` for every RGB24 pixel and the three target plane samples.
template <typename Convert>
void FromRgb24(VideoFrame& target, const VideoFrame& source, Convert convert) {
  const PlaneLayout from = source.Plane(0);
  const ThreePlanes to = PlanesOf(target);
  for (int y = 0; y < from.height; ++y) {
    const uint8_t* bgr = PlaneRow(from, y);
    uint8_t *out0 = PlaneRow(to.p0, y), *out1 = PlaneRow(to.p1, y), *out2 = PlaneRow(to.p2, y);
    for (int x = 0; x < from.width; ++x, bgr += 3) convert(bgr[0], bgr[1], bgr[2], out0[x], out1[x], out2[x]);
  }
}

// Calls `convert(in0, in1, in2, bgr)` for every sample triple and RGB24 target pixel.
template <typename Convert>
void ToRgb24(VideoFrame& target, const VideoFrame& source, Convert convert) {
  const ThreePlanes from = PlanesOf(source);
  const PlaneLayout to = target.Plane(0);
  for (int y = 0; y < to.height; ++y) {
    const uint8_t *in0 = PlaneRow(from.p0, y), *in1 = PlaneRow(from.p1, y), *in2 = PlaneRow(from.p2, y);
    uint8_t* bgr = PlaneRow(to, y);
    for (int x = 0; x < to.width; ++x, bgr += 3) convert(in0[x], in1[x], in2[x], bgr);
  }
}

uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

// Integer luma of the analysis planes; its weights sum to 1024, so the result always fits a byte.
uint8_t IntegerLuma(int b, int g, int r) { return static_cast<uint8_t>((306 * r + 601 * g + 117 * b) >> 10); }

}  // namespace

void PackedToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  // Byte offsets of the first luma, U and V within a pair of pixels.
  const bool uyvy = source.colour_space() == kUyvy;
  const int luma = uyvy ? 1 : 0, u = uyvy ? 0 : 1, v = uyvy ? 2 : 3;
  const PlaneLayout from = source.Plane(0);
  const ThreePlanes to = PlanesOf(target);
  for (int y = 0; y < from.height; ++y) {
    const uint8_t* row = PlaneRow(from, y);
    uint8_t *out_y = PlaneRow(to.p0, y), *out_u = PlaneRow(to.p1, y), *out_v = PlaneRow(to.p2, y);
    for (int x = 0; x < from.width; ++x) {
      const uint8_t* pair = row + 4 * (x / 2);
      out_y[x] = row[2 * x + luma];
      out_u[x] = pair[u];
      out_v[x] = pair[v];
    }
  }
}

void Planar420ToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  const int cs = source.colour_space();
  const PlaneLayout y_plane = source.Plane(0), u_plane = source.Plane(UPlaneIndex(cs)),
                    v_plane = source.Plane(VPlaneIndex(cs));
  const ThreePlanes to = PlanesOf(target);
  const int width = y_plane.width, height = y_plane.height;
  for (int y = 0; y < height; ++y) {
    const int row = ChromaIndex420(y, height);
    const uint8_t *in_u = PlaneRow(u_plane, row), *in_v = PlaneRow(v_plane, row);
    uint8_t *out_u = PlaneRow(to.p1, y), *out_v = PlaneRow(to.p2, y);
    std::memcpy(PlaneRow(to.p0, y), PlaneRow(y_plane, y), static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
      const int c = ChromaIndex420(x, width);
      out_u[x] = in_u[c];
      out_v[x] = in_v[c];
    }
  }
}

void YToYuv(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  const PlaneLayout from = source.Plane(0);
  const ThreePlanes to = PlanesOf(target);
  const size_t bytes = static_cast<size_t>(from.width);
  for (int y = 0; y < from.height; ++y) {
    std::memcpy(PlaneRow(to.p0, y), PlaneRow(from, y), bytes);
    std::memset(PlaneRow(to.p1, y), 0, bytes);
    std::memset(PlaneRow(to.p2, y), 0, bytes);
  }
}

void Yuy2ToYv16(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  const PlaneLayout from = source.Plane(0), y_plane = target.Plane(0), u_plane = target.Plane(UPlaneIndex(kYv16)),
                    v_plane = target.Plane(VPlaneIndex(kYv16));
  for (int y = 0; y < from.height; ++y) {
    const uint8_t* row = PlaneRow(from, y);
    uint8_t *out_y = PlaneRow(y_plane, y), *out_u = PlaneRow(u_plane, y), *out_v = PlaneRow(v_plane, y);
    for (int x = 0; x < from.width; ++x) out_y[x] = row[2 * x];
    for (int c = 0; c < u_plane.width; ++c) {
      out_u[c] = row[4 * c + 1];
      out_v[c] = row[4 * c + 3];
    }
  }
}

// The planar 4:2:2 chroma has width / 2 samples, so the last pixel of an odd width has none of its own; it
// takes the nearest one (its left neighbour's).
void Yv16ToYuy2(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  const PlaneLayout y_plane = source.Plane(0), u_plane = source.Plane(UPlaneIndex(kYv16)),
                    v_plane = source.Plane(VPlaneIndex(kYv16)), to = target.Plane(0);
  const int width = y_plane.width, last_chroma = std::max(u_plane.width - 1, 0);
  for (int y = 0; y < y_plane.height; ++y) {
    const uint8_t *in_y = PlaneRow(y_plane, y), *in_u = PlaneRow(u_plane, y), *in_v = PlaneRow(v_plane, y);
    uint8_t* out = PlaneRow(to, y);
    for (int x = 0; x < width; ++x) {
      const int c = std::min(x / 2, last_chroma);
      out[2 * x] = in_y[x];
      out[2 * x + 1] = x % 2 == 0 ? in_u[c] : in_v[c];
    }
  }
}

void PlanarRgbToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  ToRgb24(target, source, [](uint8_t r, uint8_t g, uint8_t b, uint8_t* bgr) {
    bgr[0] = b;
    bgr[1] = g;
    bgr[2] = r;
  });
}

void PlanarGDiffToRgb24(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  ToRgb24(target, source, [](uint8_t g, uint8_t r_minus_g, uint8_t b_minus_g, uint8_t* bgr) {
    bgr[0] = Byte(b_minus_g + g);
    bgr[1] = g;
    bgr[2] = Byte(r_minus_g + g);
  });
}

void Rgb24ToPlanarRgb(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  FromRgb24(target, source, [](uint8_t b, uint8_t g, uint8_t r, uint8_t& out_r, uint8_t& out_g, uint8_t& out_b) {
    out_r = r;
    out_g = g;
    out_b = b;
  });
}

void Rgb24ToPlanarGDiff(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  FromRgb24(target, source, [](uint8_t b, uint8_t g, uint8_t r, uint8_t& out_g, uint8_t& r_minus_g,
                               uint8_t& b_minus_g) {
    out_g = g;
    r_minus_g = Byte(r - g);
    b_minus_g = Byte(b - g);
  });
}

void Rgb24ToPlanarYCbCr(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  FromRgb24(target, source, [](uint8_t b, uint8_t g, uint8_t r, uint8_t& y, uint8_t& cb, uint8_t& cr) {
    const float fb = b, fg = g, fr = r;
    y = IntegerLuma(b, g, r);
    cb = TruncateToByte(0.439f * fb - 0.291f * fg - 0.148f * fr + 128.5f);
    cr = TruncateToByte(0.439f * fr - (0.368f * fg + 0.071f * fb) + 128.5f);
  });
}

void Rgb24ToPlanarYrg(VideoFrame& target, const VideoFrame& source, const ConversionOptions&) {
  FromRgb24(target, source, [](uint8_t b, uint8_t g, uint8_t r, uint8_t& y, uint8_t& r_share, uint8_t& g_share) {
    const int sum = r + g + b + 1;
    y = IntegerLuma(b, g, r);
    r_share = static_cast<uint8_t>(255 * r / sum);
    g_share = static_cast<uint8_t>(255 * g / sum);
  });
}

}  // namespace vidmetra
