#include "vidmetra/yuv_to_bgr_bytes.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "vidmetra/colour_formulas.h"
#include "vidmetra/colour_matrix.h"

namespace vidmetra {
namespace {

struct Bgr {
  uint8_t b, g, r;
};

Bgr PixelFromYuv(double y, double u, double v, int matrix) {
  if (matrix == kRec601) {
    const double luma = 1.164 * (y - 16);
    return {TruncateToByte(luma + 2.018 * u), TruncateToByte(luma - 0.813 * v - 0.391 * u),
            TruncateToByte(luma + 1.596 * v)};
  }
  return {TruncateToByte(y + 2.032 * u), TruncateToByte(y - 0.395 * u - 0.581 * v), TruncateToByte(y + 1.14 * v)};
}

// Blue depends on Y and U alone and red on Y and V alone, so each is one byte per pair, straight from the
// formula. Green's luma and its two chroma terms are the very doubles the formula forms, subtracted in its order.
struct BgrTables {
  std::array<uint8_t, 256 * 256> blue;  // [Y · 256 + U]
  std::array<uint8_t, 256 * 256> red;   // [Y · 256 + V]
  std::array<double, 256> luma;
  std::array<double, 256> first;   // the chroma term subtracted first: of V under Rec. 601, of U otherwise
  std::array<double, 256> second;  // the other one
  bool first_is_v;
};

BgrTables MakeTables(int matrix) {
  BgrTables tables{};
  const bool rec601 = matrix == kRec601;
  tables.first_is_v = rec601;
  for (int y = 0; y < 256; ++y) {
    for (int c = 0; c < 256; ++c) {
      tables.blue[static_cast<size_t>(y * 256 + c)] = PixelFromYuv(y, c - 128, 0, matrix).b;
      tables.red[static_cast<size_t>(y * 256 + c)] = PixelFromYuv(y, 0, c - 128, matrix).r;
    }
    const auto i = static_cast<size_t>(y);
    const double centred = y - 128;
    tables.luma[i] = rec601 ? 1.164 * (y - 16) : y;
    tables.first[i] = rec601 ? 0.813 * centred : 0.395 * centred;
    tables.second[i] = rec601 ? 0.391 * centred : 0.581 * centred;
  }
  return tables;
}

const BgrTables& TablesFor(int matrix) {
  static const BgrTables rec601 = MakeTables(kRec601);
  static const BgrTables pc601 = MakeTables(kPc601);
  return matrix == kRec601 ? rec601 : pc601;
}

bool Usable(const uint8_t* source, const uint8_t* target, int width, int height, int matrix) {
  return source != nullptr && target != nullptr && width > 0 && height > 0 && IsKnownColourMatrix(matrix);
}

}  // namespace

bool YuvToBgrBytesReference(const uint8_t* source, uint8_t* target, int width, int height, int target_stride,
                            int matrix) {
  if (!Usable(source, target, width, height, matrix)) return true;
  const size_t plane = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (int row = 0; row < height; ++row) {
    uint8_t* pixel = target + static_cast<ptrdiff_t>(row) * target_stride;
    for (int x = 0; x < width; ++x, pixel += 3) {
      const size_t i = static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(x);
      const Bgr bgr = PixelFromYuv(source[i], source[plane + i] - 128, source[2 * plane + i] - 128, matrix);
      pixel[0] = bgr.b;
      pixel[1] = bgr.g;
      pixel[2] = bgr.r;
    }
  }
  return true;
}

bool YuvToBgrBytes(const uint8_t* source, uint8_t* target, int width, int height, int target_stride, int matrix) {
  if (!Usable(source, target, width, height, matrix)) return true;
  const BgrTables& tables = TablesFor(matrix);
  const size_t plane = static_cast<size_t>(width) * static_cast<size_t>(height);
  const uint8_t* y_plane = source;
  const uint8_t* u_plane = source + plane;
  const uint8_t* v_plane = source + 2 * plane;
  for (int row = 0; row < height; ++row) {
    uint8_t* pixel = target + static_cast<ptrdiff_t>(row) * target_stride;
    const size_t start = static_cast<size_t>(row) * static_cast<size_t>(width);
    for (size_t i = start; i < start + static_cast<size_t>(width); ++i, pixel += 3) {
      const size_t y = y_plane[i], u = u_plane[i], v = v_plane[i];
      const size_t first = tables.first_is_v ? v : u;
      const size_t second = tables.first_is_v ? u : v;
      pixel[0] = tables.blue[y * 256 + u];
      // TruncateToByte without its branches, which finite values (all of these) do not need.
      const double green = std::min(std::max(tables.luma[y] - tables.first[first] - tables.second[second], 0.0), 255.0);
      pixel[1] = static_cast<uint8_t>(static_cast<int>(green));
      pixel[2] = tables.red[y * 256 + v];
    }
  }
  return true;
}

}  // namespace vidmetra
