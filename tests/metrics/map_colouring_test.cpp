// The table-driven map walks against the per-pixel colourings they stand for: random maps (whole and fractional
// values, values at and around every step, negative, huge, infinite and NaN ones) on targets of random widths,
// every byte of every stored row compared, padding included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "support/plane_frames.h"
#include "support/visualization_target.h"
#include "vidmetra/colour_component.h"
#include "vidmetra/map_renderer.h"
#include "vidmetra/msad_metric.h"
#include "vidmetra/mse_metric.h"
#include "vidmetra/psnr_metric.h"
#include "vidmetra/signed_colouring.h"

namespace vidmetra {
namespace {

float RandomValue(std::mt19937& random) {
  switch (random() % 8) {
    case 0: return static_cast<float>(static_cast<int>(random() % 700) - 200);
    case 1: return std::nextafter(static_cast<float>(random() % 120), -1.0f);  // just below a step
    case 2: return static_cast<float>(random() % 12000) / 100.0f - 10.0f;
    case 3: return std::ldexp(static_cast<float>(random() % 1000) - 500.0f, static_cast<int>(random() % 60));
    case 4: return std::numeric_limits<float>::quiet_NaN();
    case 5: return random() % 2 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    default: return static_cast<float>(random() % 25600) / 100.0f - 128.0f;
  }
}

// The grey level as the visualization defines it: truncation toward zero, the low 8 bits, black for values no
// 64-bit integer holds.
uint8_t GreyByDefinition(float value) {
  if (!(value > -9.2e18f && value < 9.2e18f)) return 0;
  return static_cast<uint8_t>(static_cast<int64_t>(value) & 0xFF);
}

Bgr Grey(int level) {
  const auto grey = static_cast<uint8_t>(level);
  return {grey, grey, grey};
}

// MSE's grey as first written: five roots, truncated, limited to 255, at least 0.
Bgr MseGreyByDefinition(float m) {
  const float level = std::min(255.0f, std::trunc(5.0f * std::sqrt(m)));
  return Grey(static_cast<int>(level > 0.0f ? level : 0.0f));
}

Bgr MsadGreyByDefinition(float m) {
  const float level = 10.0f * m;
  if (level >= 255.0f) return Grey(255);
  return Grey(level > 0.0f ? static_cast<int>(level) : 0);
}

void ExpectSameBytes(const VideoFrame& left, const VideoFrame& right, const char* what) {
  const PlaneLayout a = left.Plane(0), b = right.Plane(0);
  for (int row = 0; row < a.height; ++row) {
    ASSERT_EQ(0, std::memcmp(a.origin + row * a.stride, b.origin + row * b.stride, static_cast<size_t>(a.stride)))
        << what << " row " << row << " of width " << a.width;
  }
}

void Prefill(VideoFrame& target) {
  const PlaneLayout plane = target.Plane(0);
  for (int row = 0; row < plane.height; ++row) std::memset(plane.origin + row * plane.stride, 0xA5, plane.stride);
}

TEST(MapColouring, TableWalksPaintWhatThePerPixelColouringsPaint) {
  std::mt19937 random(20261208);
  for (int n = 0; n < 40; ++n) {
    const int width = n < 10 ? n + 1 : static_cast<int>(1 + random() % 1300);
    const int height = 1 + static_cast<int>(random() % 4);
    std::vector<float> map(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (float& value : map) value = RandomValue(random);
    const auto reference = testing::MakeTarget(width, height), table = testing::MakeTarget(width, height);
    ASSERT_TRUE(reference && table);
    const auto check = [&](const char* what, auto&& render, auto&& per_pixel) {
      Prefill(*reference);
      Prefill(*table);
      RenderMap(map.data(), *reference, per_pixel);
      render(*table);
      ExpectSameBytes(*reference, *table, what);
    };
    check("grey", [&](VideoFrame& t) { RenderGreyMap(map.data(), t); },
          [](float v) {
            const uint8_t grey = GreyByDefinition(v);
            return Bgr{grey, grey, grey};
          });
    check("psnr", [&](VideoFrame& t) { RenderMapByTable(map.data(), t, PsnrColours().data(), PsnrColourIndex); },
          PsnrColour);
    check("signed", [&](VideoFrame& t) { RenderSignedDifferenceMap(map.data(), t); }, SignedDifferenceColour);
    const auto grey_table = [&](auto level) {
      return [&, level](VideoFrame& t) { RenderMapByTable(map.data(), t, GreyColours().data(), level); };
    };
    check("mse", grey_table([](float m) { return MseGreyLevel(m); }), MseGreyByDefinition);
    check("msad", grey_table([](float m) { return MsadGreyLevel(m); }), MsadGreyByDefinition);
  }
}

// The metric with its map in view.
class PsnrMapView : public PsnrMetric {
 public:
  using PsnrMetric::PsnrMetric;
  const float* Map() { return difference_map(); }
};

// Each pixel's PSNR in the map as the formula has it, for whole differences (taken from a table) and fractional
// ones alike, on Y's peak and on L's.
TEST(MapColouring, PsnrMapHoldsEveryPixelsOwnPsnr) {
  std::mt19937 random(7);
  const int width = 67, height = 5;
  for (const int component : {kComponentY, kComponentL, kComponentR}) {
    const double peak = component == kComponentL ? 10000.0 : 65025.0;
    for (int n = 0; n < 6; ++n) {
      const auto sample = [&](int, int) {
        const int kind = static_cast<int>(random() % 4);
        if (kind == 0) return static_cast<float>(random() % 256);
        if (kind == 1) return static_cast<float>(random() % 25600) / 100.0f;
        return n % 2 == 0 ? 128.0f : static_cast<float>(random() % 1000) / 7.0f;
      };
      const auto original = testing::MakePlanes(width, height, sample);
      const auto processed = testing::MakePlanes(width, height, sample);
      PsnrMapView metric({component, width, height});
      const auto target = testing::MakeTarget(width, height);
      PlaneFrame* frames[] = {original.get(), processed.get()};
      metric.MeasureAndVisualize(frames, *target);
      const float* a = original->ComponentPlane(component);
      const float* b = processed->ComponentPlane(component);
      for (int i = 0; i < width * height; ++i) {
        const double d = a[i] - b[i];
        const auto e = static_cast<float>(d * d);
        const float expected = e <= 1.0f ? 100.0f : static_cast<float>(10.0 * std::log10(peak / e));
        ASSERT_EQ(std::memcmp(&expected, metric.Map() + i, sizeof expected), 0)
            << "pixel " << i << ": " << a[i] << " against " << b[i] << " on component " << component;
      }
    }
  }
}

}  // namespace
}  // namespace vidmetra
