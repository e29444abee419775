// The vectorised RGB kernels against the scalar reference on random rows of many widths at random starts: every
// output byte must be equal, except by one where the exact value of the formula lies on a half (the reference
// rounds halves up, the vector units to even).
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "kernels/kernel_check.h"
#include "support/frame_fill.h"
#include "vidmetra/frame_conversions.h"
#include "vidmetra/rgb_yuv_kernels.h"

namespace vidmetra {
namespace {

constexpr double kMustMatch = std::numeric_limits<double>::quiet_NaN();

// Input and output rows, each starting at its own random offset into its storage.
struct Rows {
  std::array<std::vector<uint8_t>, 3> in;
  std::array<std::vector<uint8_t>, 4> out;
  size_t in_offset = 0, out_offset = 0;
  const uint8_t* In(size_t row) const { return in[row].data() + in_offset; }
  uint8_t* Out(size_t row) { return out[row].data() + out_offset; }
  uint8_t OutByte(size_t row, int index) const { return out[row][out_offset + static_cast<size_t>(index)]; }
};

struct KernelCase {
  std::string name;
  std::function<void(const RgbYuvKernels&, Rows&, int width)> run;
  // Meaningful bytes of each output row for a width.
  std::function<std::array<int, 4>(int width)> bytes;
  // The exact value behind output byte `index` of row `row`, or kMustMatch.
  std::function<double(const Rows&, int row, int index, int width)> exact;
};

int Padded(int width) { return (width + 15) / 16 * 16; }

double Luma(const uint8_t* p) { return 0.587 * p[1] + 0.299 * p[2] + 0.114 * p[0]; }
double U(const uint8_t* p) { return 0.436 * p[0] - 0.289 * p[1] - 0.147 * p[2] + 128.0; }
double V(const uint8_t* p) { return 0.615 * p[2] - 0.515 * p[1] - 0.1 * p[0] + 128.0; }
double Inverse(int channel, double y, double u, double v) {
  const double du = u - 128.0, dv = v - 128.0;
  if (channel == 0) return y + 2.032 * du;
  if (channel == 1) return y - 0.395 * du - 0.581 * dv;
  return y + 1.14 * dv;
}

// Column range of the 4:2:0 block `c` of a row `width` wide.
std::array<int, 2> BlockColumns(int c, int width) {
  int x0 = 2 * c;
  if (x0 + 1 >= width) x0 = std::max(width - 2, 0);
  return {x0, std::min(x0 + 1, width - 1)};
}

std::vector<KernelCase> Cases() {
  std::vector<KernelCase> cases;
  for (const int step : {3, 4}) {
    const std::string suffix = step == 3 ? "24" : "32";
    cases.push_back({"rgb" + suffix + "_to_yuv",
                     [step](const RgbYuvKernels& k, Rows& r, int w) {
                       k.rgb_to_yuv(r.In(0), step, r.Out(0), r.Out(1), r.Out(2), w);
                     },
                     [](int w) { return std::array<int, 4>{w, w, w, 0}; },
                     [step](const Rows& r, int row, int i, int) {
                       const uint8_t* p = r.In(0) + step * i;
                       return row == 0 ? Luma(p) : row == 1 ? U(p) : V(p);
                     }});
    cases.push_back({"rgb" + suffix + "_to_y",
                     [step](const RgbYuvKernels& k, Rows& r, int w) {
                       k.rgb_to_y(r.In(0), step, r.Out(0), w);
                     },
                     [](int w) { return std::array<int, 4>{w, 0, 0, 0}; },
                     [step](const Rows& r, int, int i, int) { return Luma(r.In(0) + step * i); }});
    cases.push_back({"yuv_to_rgb" + suffix,
                     [step](const RgbYuvKernels& k, Rows& r, int w) {
                       k.yuv_to_rgb(r.In(0), r.In(1), r.In(2), r.Out(0), step, w);
                     },
                     [step](int w) { return std::array<int, 4>{step * w, 0, 0, 0}; },
                     [step](const Rows& r, int, int i, int) {
                       const int x = i / step, channel = i % step;
                       if (channel == 3) return kMustMatch;
                       return Inverse(channel, r.In(0)[x], r.In(1)[x], r.In(2)[x]);
                     }});
  }
  cases.push_back({"rgb24_to_yuy2",
                   [](const RgbYuvKernels& k, Rows& r, int w) { k.rgb24_to_yuy2(r.In(0), r.Out(0), w); },
                   [](int w) { return std::array<int, 4>{2 * w, 0, 0, 0}; },
                   [](const Rows& r, int, int i, int w) {
                     const int x = 2 * (i / 4);
                     const uint8_t* p0 = r.In(0) + 3 * x;
                     const uint8_t* p1 = p0 + 3;
                     const bool lone = x + 1 >= w;
                     switch (i % 4) {
                       case 0: return Luma(p0);
                       case 1: return lone ? U(p0) : (U(p0) + U(p1)) / 2;
                       case 2: return Luma(p1);
                       default: return (V(p0) + V(p1)) / 2;
                     }
                   }});
  cases.push_back({"rgb24_to_420",
                   [](const RgbYuvKernels& k, Rows& r, int w) {
                     k.rgb24_to_420(r.In(0), r.In(1), r.Out(0), r.Out(1),
                                    r.Out(2), r.Out(3), w);
                   },
                   [](int w) { return std::array<int, 4>{w, w, (w + 1) / 2, (w + 1) / 2}; },
                   [](const Rows& r, int row, int i, int w) {
                     if (row < 2) return Luma(r.In(row) + 3 * i);
                     double sum = 0.0;
                     for (const int x : BlockColumns(i, w)) {
                       for (int source = 0; source < 2; ++source) {
                         const uint8_t* p = r.In(source) + 3 * x;
                         sum += row == 2 ? U(p) : V(p);
                       }
                     }
                     return sum / 4;
                   }});
  cases.push_back({"yuy2_to_rgb24",
                   [](const RgbYuvKernels& k, Rows& r, int w) { k.yuy2_to_rgb24(r.In(0), r.Out(0), w); },
                   [](int w) { return std::array<int, 4>{3 * w, 0, 0, 0}; },
                   [](const Rows& r, int, int i, int) {
                     const int x = i / 3;
                     const uint8_t* pair = r.In(0) + 4 * (x / 2);
                     return Inverse(i % 3, r.In(0)[2 * x], pair[1], pair[3]);
                   }});
  cases.push_back({"yuv420_to_rgb24",
                   [](const RgbYuvKernels& k, Rows& r, int w) {
                     k.yuv420_to_rgb24(r.In(0), r.In(1), r.In(2), r.Out(0), w);
                   },
                   [](int w) { return std::array<int, 4>{3 * w, 0, 0, 0}; },
                   [](const Rows& r, int, int i, int w) {
                     const int x = i / 3, c = ChromaIndex420(x, w);
                     return Inverse(i % 3, r.In(0)[x], r.In(1)[c], r.In(2)[c]);
                   }});
  const auto exact_copy = [](const Rows&, int, int, int) { return kMustMatch; };
  cases.push_back({"y_to_rgb32",
                   [](const RgbYuvKernels& k, Rows& r, int w) { k.y_to_rgb32(r.In(0), r.Out(0), w); },
                   [](int w) { return std::array<int, 4>{4 * w, 0, 0, 0}; }, exact_copy});
  cases.push_back({"rgb32_to_rgb24",
                   [](const RgbYuvKernels& k, Rows& r, int w) { k.rgb32_to_rgb24(r.In(0), r.Out(0), w); },
                   [](int w) { return std::array<int, 4>{3 * w, 0, 0, 0}; }, exact_copy});
  cases.push_back({"rgb24_to_rgb32",
                   [](const RgbYuvKernels& k, Rows& r, int w) { k.rgb24_to_rgb32(r.In(0), r.Out(0), w); },
                   [](int w) { return std::array<int, 4>{4 * w, 0, 0, 0}; }, exact_copy});
  return cases;
}

// Rows sized exactly as the kernels may touch them from their starts, so that the sanitizer catches any access
// beyond.
Rows RandomRows(int width, std::mt19937& random) {
  Rows rows;
  rows.in_offset = testing::RandomOffset(random, 15);
  rows.out_offset = testing::RandomOffset(random, 15);
  const size_t bytes = static_cast<size_t>(4 * Padded(width));
  for (auto& row : rows.in) row.resize(rows.in_offset + bytes);
  for (auto& row : rows.out) row.resize(rows.out_offset + bytes);
  for (auto& row : rows.in) {
    for (auto& byte : row) byte = testing::RandomByte(random);
  }
  for (auto& row : rows.out) {
    for (auto& byte : row) byte = testing::RandomByte(random);
  }
  return rows;
}

bool OnHalf(double value) { return std::abs(value - std::floor(value) - 0.5) < 1e-3; }

class RgbYuvCheck : public testing::TierCheck {};

TEST_P(RgbYuvCheck, KernelsMatchReferenceExceptOnHalves) {
  if (!TierHasOwnKernels(InitRgbYuvKernels)) GTEST_SKIP() << "no kernels of its own at this tier";
  std::vector<int> widths;
  for (int w = 1; w <= 48; ++w) widths.push_back(w);
  for (const int w : {63, 64, 65, 127, 255, 1919, 1920, 1921}) widths.push_back(w);
  for (int n = 0; n < 8; ++n) widths.push_back(1 + static_cast<int>(random_() % 2000));
  for (const KernelCase& kernel : Cases()) {
    int differing = 0;
    for (const int width : widths) {
      for (int round = 0; round < 4; ++round) {
        Rows reference = RandomRows(width, random_);
        Rows vector = reference;
        kernel.run(ScalarRgbYuvKernels(), reference, width);
        kernel.run(ActiveRgbYuvKernels(), vector, width);
        const std::array<int, 4> bytes = kernel.bytes(width);
        for (size_t row = 0; row < 4; ++row) {
          for (int i = 0; i < bytes[row]; ++i) {
            const int a = reference.OutByte(row, i), b = vector.OutByte(row, i);
            if (a == b) continue;
            ++differing;
            const double exact = kernel.exact(reference, static_cast<int>(row), i, width);
            ASSERT_TRUE(std::abs(a - b) == 1 && !std::isnan(exact) && OnHalf(exact))
                << kernel.name << " width " << width << " row " << row << " byte " << i << ": reference " << a
                << ", vector " << b << ", exact " << exact;
          }
        }
      }
    }
    RecordProperty(kernel.name + "_differing_bytes", differing);
  }
}

// Whole frames, odd sizes and the per-field path included: the frame walks hand the kernels what they expect.
TEST_P(RgbYuvCheck, FrameConversionsStayWithinOneOfTheReference) {
  if (!TierHasOwnKernels(InitRgbYuvKernels)) GTEST_SKIP() << "no kernels of its own at this tier";
  const std::array<std::array<int, 2>, 10> pairs{{{kYuv, kRgb24},
                                                  {kYuv, kRgb32},
                                                  {kYuy2, kRgb24},
                                                  {kYv12, kRgb24},
                                                  {kIyuv, kRgb24},
                                                  {kY, kRgb32},
                                                  {kRgb24, kYuv},
                                                  {kRgb32, kYuv},
                                                  {kRgb24, kYuy2},
                                                  {kRgb24, kYv12}}};
  for (const auto& [target_space, source_space] : pairs) {
    for (const auto& [width, height] : std::array<std::array<int, 2>, 5>{{{1, 1}, {5, 3}, {17, 9}, {33, 18}, {64, 16}}}) {
      for (const bool per_field : {false, true}) {
        VideoFrame source, reference, vector;
        ASSERT_TRUE(source.SetFormat(width, height, source_space, 8));
        testing::FillRandom(source, static_cast<uint32_t>(random_()));
        ASSERT_TRUE(reference.SetFormat(width, height, target_space, 0));
        ASSERT_TRUE(vector.SetFormat(width, height, target_space, 0));
        ASSERT_TRUE(ConvertPixelsWith(reference, source, {&ScalarRgbYuvKernels(), per_field}));
        ASSERT_TRUE(ConvertPixelsWith(vector, source, {&ActiveRgbYuvKernels(), per_field}));
        for (int k = 0; k < reference.PlaneCount(); ++k) {
          const PlaneLayout a = reference.Plane(k), b = vector.Plane(k);
          for (int y = 0; y < a.height; ++y) {
            for (int i = 0; i < a.width * a.unit; ++i) {
              if (target_space == kRgb32 && i % 4 == 3) continue;
              const int difference = a.origin[y * a.stride + i] - b.origin[y * b.stride + i];
              ASSERT_LE(std::abs(difference), 1) << target_space << " <- " << source_space << " " << width << "x"
                                                  << height << " plane " << k << " row " << y << " byte " << i;
            }
          }
        }
      }
    }
  }
}

VIDMETRA_TIER_CHECK(RgbYuvCheck);

}  // namespace
}  // namespace vidmetra
